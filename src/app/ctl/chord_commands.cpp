#include <memory>
#include <string>

#include "app/ctl/commands.h"
#include "app/ctl/exit_codes.h"
#include "chords/chord_file.h"
#include "chords/chord_text.h"
#include "files/utf8_path.h"

namespace qp40::ctl {
namespace {

constexpr std::size_t kChordValues = kChordCount * kChordRecordSize;

int RunChordList(CommandContext& context, const std::string& file) {
  ChordTable table{};
  const ChordImportResult result = LoadChordFile(PathFromUtf8(file), table);
  switch (result.status) {
    case ChordImportStatus::kCannotOpen:
      context.Err() << "qp40ctl: " << file << ": cannot be opened\n";
      return kExitFailed;
    case ChordImportStatus::kUnknownFile:
      context.Messages().ShowMessage(kUnknownChordFileMessage);
      context.Err() << "qp40ctl: " << file << ": not a chord file\n";
      return kExitFailed;
    case ChordImportStatus::kImported:
      break;
  }
  context.Out() << ChordListText(table);
  if (result.values_read < kChordValues) {
    context.Err() << "qp40ctl: " << file << ": cut short after " << result.values_read << " of "
                  << kChordValues << " values; the chords after that are shown empty\n";
    return kExitFailed;
  }
  return kExitOk;
}

}  // namespace

void AddChordCommands(CLI::App& app, CommandAction& action) {
  CLI::App* chord = app.add_subcommand("chord", "Two-key chord files");
  chord->require_subcommand(1);

  auto file = std::make_shared<std::string>();
  CLI::App* list = chord->add_subcommand("list", "Print the chord list of a chord file");
  list->add_option("FILE", *file, "Chord file (*.txt)")->required();
  list->callback([file, &action] {
    action = [file](CommandContext& context) { return RunChordList(context, *file); };
  });
}

}  // namespace qp40::ctl
