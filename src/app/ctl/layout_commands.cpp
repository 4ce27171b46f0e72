#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "app/ctl/backup_input.h"
#include "app/ctl/commands.h"
#include "app/ctl/exit_codes.h"
#include "app/ctl/keypad_load.h"
#include "chords/chord_file.h"
#include "files/file_replace.h"
#include "files/utf8_path.h"
#include "layout/layout_file.h"
#include "log/text_format.h"

namespace qp40::ctl {
namespace {

constexpr int kMacroCount = 32;

// The keypad's identity as hex bytes, as `info` shows it.
std::string IdentityHex(const DeviceId& identity) {
  std::string text;
  for (const std::uint8_t byte : identity) {
    if (!text.empty()) text += ' ';
    text += FormatText("%02x", byte);
  }
  return text;
}

struct ExportOptions {
  std::string file;
  std::string from;
  std::string chords;
  bool no_macros = false;
};

// The chord table of a chord file, or nothing after saying why on stderr.
std::optional<ChordTable> ReadChords(CommandContext& context, const std::string& path) {
  ChordTable table{};
  if (LoadChordFile(PathFromUtf8(path), table).status != ChordImportStatus::kImported) {
    context.Err() << "qp40ctl: " << path << ": is no chord file\n";
    return std::nullopt;
  }
  return table;
}

int RunExport(CommandContext& context, const ExportOptions& options) {
  std::optional<ChordTable> chords;
  if (!options.chords.empty()) {
    chords = ReadChords(context, options.chords);
    if (!chords) return kExitFailed;
  }
  Layout layout;
  if (!options.from.empty()) {
    Configuration config;
    if (!LoadBackupOffline(context, options.from, config)) return kExitFailed;
    layout = MakeLayout(config, TableTexts(config), {}, chords, "");
  } else {
    LoadResult load;
    KeypadSession* session = AttachAndLoad(context, load);
    if (session == nullptr) return context.AttachStatus();
    if (RefuseAfterFailedLoad(context, load, "no layout is written")) return kExitFailed;
    std::map<int, MacroBuffer> macros;
    for (int macro = 0; macro < kMacroCount && !options.no_macros; ++macro) {
      const std::optional<LoadedMacro> loaded = session->LoadMacroBuffer(macro);
      if (!loaded || loaded->failed_pages > 0) {
        context.Err() << "qp40ctl: macro " << macro
                      << " could not be read from the keypad; no layout is written\n";
        return kExitFailed;
      }
      macros[macro] = loaded->buffer;
    }
    const KeyTextLookup texts = [session](const KeyActionRecord& record) {
      return session->KeyText(record);
    };
    layout = MakeLayout(session->Config(), texts, macros, chords,
                        IdentityHex(session->Link().GetDeviceId()));
  }
  const std::string text = LayoutText(layout);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  if (!ReplaceFileContents(PathFromUtf8(options.file), std::span(bytes, text.size()))) {
    context.Err() << "qp40ctl: " << options.file << ": cannot be written\n";
    return kExitFailed;
  }
  return kExitOk;
}

}  // namespace

void AddLayoutCommands(CLI::App& app, CommandAction& action) {
  auto options = std::make_shared<ExportOptions>();
  CLI::App* command = app.add_subcommand(
      "export",
      "Write the whole configuration to a layout file (.qp40.json): the four profiles with "
      "their texts, the 32 macros and, when given, a chord table");
  command->add_option("FILE", options->file, "Layout file to write")->required();
  command
      ->add_option("--from", options->from,
                   "Read a backup file instead of the keypad (no macros then)")
      ->type_name("BACKUP.bin");
  command->add_flag("--no-macros", options->no_macros, "Do not read the macros from the keypad");
  command->add_option("--chords", options->chords, "Put this chord file's table in the layout")
      ->type_name("FILE");
  command->callback([options, &action] {
    action = [options](CommandContext& context) { return RunExport(context, *options); };
  });
}

}  // namespace qp40::ctl
