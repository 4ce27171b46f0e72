#include <string>
#include <string_view>

#include "app/ctl/commands.h"
#include "app/ctl/exit_codes.h"
#include "app/ctl/keypad_load.h"
#include "app/ctl/settings_text.h"
#include "keys/board_settings_names.h"
#include "session/keypad_list.h"

namespace qp40::ctl {
namespace {

const char* OnOff(bool on) { return on ? "on" : "off"; }

// "Name:" padded so that the values line up.
std::string Label(std::string_view name) {
  constexpr std::size_t kLabelWidth = 18;
  std::string label = std::string(name) + ":";
  if (label.size() < kLabelWidth) label.resize(kLabelWidth, ' ');
  return label;
}

int RunInfo(CommandContext& context) {
  LoadResult load;
  KeypadSession* session = AttachAndLoad(context, load);
  if (session == nullptr) return context.AttachStatus();

  const BoardSettingsReader settings(session->Config().working_profile);
  std::ostream& out = context.Out();
  out << "Identity:         " << IdentityText(session->Link().GetDeviceId()) << "\n";
  out << "Firmware version: " << FirmwareText(settings.FirmwareVersion()) << "\n";
  out << "Board type:       " << BoardTypeText(settings.BoardType()) << "\n";
  out << "Path type:        " << PathTypeText(settings.PathType()) << "\n";
  out << "USB type:         " << UsbTypeText(settings.UsbType()) << "\n";
  for (const BoardFeature feature : kBoardFeatures) {
    out << Label(BoardFeatureName(feature)) << OnOff(settings.FeatureOn(feature)) << "\n";
  }
  return load.status == SessionStatus::kDone ? kExitOk : kExitFailed;
}

}  // namespace

void AddInfoCommand(CLI::App& app, CommandAction& action) {
  CLI::App* info = app.add_subcommand(
      "info", "Load the configuration and print the keypad's identity, firmware and settings");
  info->callback([&action] { action = RunInfo; });
}

}  // namespace qp40::ctl
