#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/ctl/backup_input.h"
#include "app/ctl/commands.h"
#include "app/ctl/exit_codes.h"
#include "app/ctl/keypad_load.h"
#include "app/ctl/layout_sources.h"
#include "chords/chord_file.h"
#include "files/file_replace.h"
#include "files/utf8_path.h"
#include "layout/layout_diff.h"
#include "layout/layout_file.h"
#include "log/text_format.h"

namespace qp40::ctl {
namespace {

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
  const std::string source = options.from.empty() ? std::string(kKeypadSource) : options.from;
  int status = kExitOk;
  const std::optional<Layout> layout =
      LayoutOf(context, source, !options.no_macros, chords, status);
  if (!layout) return status;
  const std::string text = LayoutText(*layout);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  if (!ReplaceFileContents(PathFromUtf8(options.file), std::span(bytes, text.size()))) {
    context.Err() << "qp40ctl: " << options.file << ": cannot be written\n";
    return kExitFailed;
  }
  return kExitOk;
}

struct DiffOptions {
  std::string from;
  std::string to;
};

// Trouble reading a side: status 2, as diff has it.
constexpr int kExitDiffTrouble = 2;
constexpr int kExitDiffDifferent = 1;

int RunDiff(CommandContext& context, const DiffOptions& options) {
  int status = kExitOk;
  std::optional<Layout> from = LayoutOf(context, options.from, true, std::nullopt, status);
  if (!from) return status == kExitFailed ? kExitDiffTrouble : status;
  std::optional<Layout> to = LayoutOf(context, options.to, true, std::nullopt, status);
  if (!to) return status == kExitFailed ? kExitDiffTrouble : status;
  // A backup holds no macros: they are compared only when both sides have them.
  if (KindOf(options.from) == SourceKind::kBackup || KindOf(options.to) == SourceKind::kBackup) {
    from->macros.clear();
    to->macros.clear();
  }
  const std::vector<std::string> lines = DiffLayouts(*from, *to);
  for (const std::string& line : lines) context.Out() << line << "\n";
  return lines.empty() ? kExitOk : kExitDiffDifferent;
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

  auto diff_options = std::make_shared<DiffOptions>();
  CLI::App* diff = app.add_subcommand(
      "diff",
      "Show what differs between two configurations, one line per changed key, setting, macro "
      "line or chord; exit status 0 when they are the same, 1 when they differ, 2 on trouble");
  diff->add_option("A", diff_options->from, "keypad, a backup file (.bin) or a layout file")
      ->required();
  diff->add_option("B", diff_options->to, "keypad, a backup file (.bin) or a layout file")
      ->required();
  diff->callback([diff_options, &action] {
    action = [diff_options](CommandContext& context) { return RunDiff(context, *diff_options); };
  });
}

}  // namespace qp40::ctl
