#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "app/ctl/backup_input.h"
#include "app/ctl/commands.h"
#include "app/ctl/display_text.h"
#include "app/ctl/dump_data.h"
#include "app/ctl/exit_codes.h"
#include "app/ctl/grid_text.h"
#include "app/ctl/settings_text.h"
#include "keys/name_tables.h"
#include "log/text_format.h"

namespace qp40::ctl {
namespace {

struct DumpOptions {
  std::string backup;
  bool json = false;
};

std::string Hex(std::uint32_t value, int digits) { return FormatText("0x%0*x", digits, value); }

std::string HexBytes(const std::array<std::uint8_t, kSettingsSize>& bytes) {
  std::string text;
  for (const std::uint8_t byte : bytes) text += Hex(byte, 2).substr(2);
  return text;
}

std::string TypeText(const std::optional<int>& type) {
  return type ? std::string(TypeName(static_cast<std::size_t>(*type))) : "(none)";
}

// A working copy holding only these settings, for the reader of board settings.
WorkingProfile WithSettings(const std::array<std::uint8_t, kSettingsSize>& bytes) {
  WorkingProfile working{};
  std::copy(bytes.begin(), bytes.end(), working.begin() + kWorkingSettingsOffset);
  return working;
}

const char* OnOff(bool on) { return on ? "on" : "off"; }

nlohmann::ordered_json SettingsJson(const std::array<std::uint8_t, kSettingsSize>& bytes) {
  const WorkingProfile working = WithSettings(bytes);
  const BoardSettingsReader settings(working);
  return {
      {"board_type", settings.BoardType()},
      {"board", BoardTypeText(settings.BoardType())},
      {"path_type", settings.PathType()},
      {"path", PathTypeText(settings.PathType())},
      {"usb_type", settings.UsbType()},
      {"usb", UsbTypeText(settings.UsbType())},
      {"typing", settings.FeatureOn(BoardFeature::kTyping)},
      {"backlight", settings.FeatureOn(BoardFeature::kBacklight)},
      {"sticky", settings.FeatureOn(BoardFeature::kSticky)},
      {"firmware_version", settings.FirmwareVersion()},
      {"bytes", HexBytes(bytes)},
  };
}

nlohmann::ordered_json TextsJson(const std::vector<DumpedText>& texts, const char* index_name) {
  nlohmann::ordered_json list = nlohmann::ordered_json::array();
  for (const DumpedText& text : texts) {
    nlohmann::ordered_json entry = {{index_name, text.index}};
    entry["text"] =
        text.present ? nlohmann::ordered_json(Latin1ToUtf8(text.text)) : nlohmann::ordered_json();
    entry["complete"] = text.complete;
    list.push_back(entry);
  }
  return list;
}

std::string DumpJson(const DumpOptions& options, const DumpData& data) {
  nlohmann::ordered_json profiles = nlohmann::ordered_json::array();
  for (const DumpedProfile& profile : data.profiles) {
    nlohmann::ordered_json keys = nlohmann::ordered_json::array();
    for (const DumpedKey& key : profile.keys) {
      keys.push_back({
          {"row", key.row},
          {"column", key.column},
          {"record", RecordHex(key.record)},
          {"type", key.type ? nlohmann::ordered_json(*key.type) : nlohmann::ordered_json()},
          {"type_name",
           key.type ? nlohmann::ordered_json(TypeText(key.type)) : nlohmann::ordered_json()},
          {"parameters", key.parameters},
          {"label", Latin1ToUtf8(key.label)},
      });
    }
    profiles.push_back({{"profile", profile.number},
                        {"settings", SettingsJson(profile.settings)},
                        {"keys", keys}});
  }
  const nlohmann::ordered_json dump = {
      {"file", options.backup},
      {"type_word", Hex(data.type_word, 8)},
      {"profiles", profiles},
      {"bursts", TextsJson(data.bursts, "index")},
      {"strings", TextsJson(data.strings, "number")},
  };
  return dump.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

void AppendTexts(std::string& out, const char* heading, const std::vector<DumpedText>& texts) {
  out += std::string("\n") + heading + "\n";
  if (texts.empty()) out += "  (none)\n";
  for (const DumpedText& text : texts) {
    out += "  " + PaddedTerminalText(std::to_string(text.index), 5);
    if (!text.present) {
      out += "(empty)\n";
      continue;
    }
    out += "\"" + TerminalText(text.text) + "\"";
    if (!text.complete) out += " (the rest is kept on the keypad)";
    out += "\n";
  }
}

std::string DumpText(const DumpOptions& options, const DumpData& data) {
  std::string out = "Backup " + options.backup + ", type word " + Hex(data.type_word, 8) + "\n";
  for (const DumpedProfile& profile : data.profiles) {
    const WorkingProfile working = WithSettings(profile.settings);
    const BoardSettingsReader settings(working);
    out += "\nUser Profile " + std::to_string(profile.number) + "\n";
    out += "  Board type " + BoardTypeText(settings.BoardType()) + ", path type " +
           PathTypeText(settings.PathType()) + ", USB type " + UsbTypeText(settings.UsbType()) +
           ", Typing " + OnOff(settings.FeatureOn(BoardFeature::kTyping)) + ", Backlight " +
           OnOff(settings.FeatureOn(BoardFeature::kBacklight)) + ", Sticky " +
           OnOff(settings.FeatureOn(BoardFeature::kSticky)) + ", firmware version " +
           FirmwareText(settings.FirmwareVersion()) + "\n";
    out += "  Key Record   Type                  P0 P1 P2 P3 P4 Label\n";
    for (const DumpedKey& key : profile.keys) {
      std::string line = "  " + std::to_string(key.row) + std::to_string(key.column) + "  " +
                         RecordHex(key.record) + " " + PaddedTerminalText(TypeText(key.type), 22);
      for (const std::uint8_t parameter : key.parameters) line += Hex(parameter, 2).substr(2) + " ";
      line += TerminalText(key.label);
      while (!line.empty() && line.back() == ' ') line.pop_back();
      out += line + "\n";
    }
  }
  AppendTexts(out, "Burst texts in use", data.bursts);
  AppendTexts(out, "String texts in use", data.strings);
  return out;
}

int RunDump(CommandContext& context, const DumpOptions& options) {
  Configuration config;
  if (!LoadBackupOffline(context, options.backup, config)) return kExitFailed;
  const DumpData data = CollectDump(config);
  context.Out() << (options.json ? DumpJson(options, data) : DumpText(options, data));
  return kExitOk;
}

}  // namespace

void AddDumpCommand(CLI::App& app, CommandAction& action) {
  auto options = std::make_shared<DumpOptions>();
  CLI::App* dump = app.add_subcommand(
      "dump",
      "Print everything in a backup file (no keypad): every key of the four profiles with its "
      "type, parameters and label, the board settings, the burst and string texts in use");
  dump->add_option("BACKUP", options->backup, "Backup file")->required();
  dump->add_flag("--json", options->json, "Print JSON");
  dump->callback([options, &action] {
    action = [options](CommandContext& context) { return RunDump(context, *options); };
  });
}

}  // namespace qp40::ctl
