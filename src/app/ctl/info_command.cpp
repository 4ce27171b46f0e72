#include <string>

#include "app/ctl/commands.h"
#include "app/ctl/exit_codes.h"
#include "app/ctl/keypad_load.h"
#include "app/ctl/settings_text.h"
#include "log/text_format.h"

namespace qp40::ctl {
namespace {

std::string IdentityText(const DeviceId& identity) {
  std::string text;
  for (const std::uint8_t byte : identity) {
    if (!text.empty()) text += ' ';
    text += FormatText("%02x", byte);
  }
  return text;
}

const char* OnOff(bool on) { return on ? "on" : "off"; }

int RunInfo(CommandContext& context) {
  Configuration config;
  int failed_pages = 0;
  KeypadLink* link = AttachAndLoad(context, config, failed_pages);
  if (link == nullptr) return context.AttachStatus();

  const BoardSettingsReader settings(config.working_profile);
  std::ostream& out = context.Out();
  out << "Identity:         " << IdentityText(link->GetDeviceId()) << "\n";
  out << "Firmware version: " << FirmwareText(settings.FirmwareVersion()) << "\n";
  out << "Board type:       " << BoardTypeText(settings.BoardType()) << "\n";
  out << "Path type:        " << PathTypeText(settings.PathType()) << "\n";
  out << "USB type:         " << UsbTypeText(settings.UsbType()) << "\n";
  out << "Typing:           " << OnOff(settings.FeatureOn(BoardFeature::kTyping)) << "\n";
  out << "Backlight:        " << OnOff(settings.FeatureOn(BoardFeature::kBacklight)) << "\n";
  out << "Sticky:           " << OnOff(settings.FeatureOn(BoardFeature::kSticky)) << "\n";
  return failed_pages == 0 ? kExitOk : kExitFailed;
}

}  // namespace

void AddInfoCommand(CLI::App& app, CommandAction& action) {
  CLI::App* info = app.add_subcommand(
      "info", "Load the configuration and print the keypad's identity, firmware and settings");
  info->callback([&action] { action = RunInfo; });
}

}  // namespace qp40::ctl
