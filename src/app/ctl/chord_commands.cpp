#include <algorithm>
#include <array>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "app/ctl/commands.h"
#include "app/ctl/decimal_number.h"
#include "app/ctl/exit_codes.h"
#include "app/ctl/key_edit_options.h"
#include "chords/chord_file.h"
#include "chords/chord_text.h"
#include "editing/chord_editor_logic.h"
#include "files/utf8_path.h"
#include "keys/key_words.h"
#include "keys/nearest_names.h"

namespace qp40::ctl {
namespace {

constexpr std::size_t kChordValues = kChordCount * kChordRecordSize;
constexpr std::array<int, kChordOutputCount> kOutputFields = {
    kIdChordOutput1, kIdChordOutput2, kIdChordOutput3, kIdChordOutput4, kIdChordOutput5};

// Reads FILE whole into `table`; false after stderr has said why. A file cut short is refused:
// written back, the chords it lost would become empty ones.
bool ReadWholeChordFile(CommandContext& context, const std::string& file, ChordTable& table) {
  const ChordImportResult result = LoadChordFile(PathFromUtf8(file), table);
  switch (result.status) {
    case ChordImportStatus::kCannotOpen:
      context.Err() << "qp40ctl: " << file << ": cannot be opened\n";
      return false;
    case ChordImportStatus::kUnknownFile:
      context.Messages().ShowMessage(kUnknownChordFileMessage);
      context.Err() << "qp40ctl: " << file << ": not a chord file\n";
      return false;
    case ChordImportStatus::kImported:
      break;
  }
  if (result.values_read < kChordValues) {
    context.Err() << "qp40ctl: " << file << ": cut short after " << result.values_read << " of "
                  << kChordValues << " values; the file is left as it is\n";
    return false;
  }
  return true;
}

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

// Ticks the box of each word of a comma-separated list ("Ctrl,Shift"; empty for none); the
// usage error for a word that names no box.
std::string ParseModifierWords(std::string_view words,
                               std::array<bool, kChordModifierBoxes>& ticked) {
  std::size_t start = 0;
  while (!words.empty() && start <= words.size()) {
    const std::size_t comma = std::min(words.find(',', start), words.size());
    const std::string_view word = words.substr(start, comma - start);
    const std::optional<std::size_t> box = ChordModifierBox(word);
    if (!box) return "'" + std::string(word) + "' is none of Ctrl, Shift, Alt and Win";
    ticked[*box] = true;
    start = comma + 1;
  }
  return {};
}

struct ChordSetOptions {
  std::string file;
  int number = 0;
  std::vector<std::string> keys;
  std::vector<std::string> outputs;
  std::optional<std::string> modifiers;
  std::optional<std::string> sixth;
};

// Fills the editor's fields as a user would and confirms them with OK, then writes the file.
int RunChordSet(CommandContext& context, const ChordSetOptions& options) {
  ChordTable table{};
  if (!ReadWholeChordFile(context, options.file, table)) return kExitFailed;
  EditingSession session;
  ChordEditorLogic editor(session, table, context.Messages());
  editor.Open();
  editor.Select(options.number - 1);
  if (!options.keys.empty()) {
    editor.EditField(kIdChordKey1, options.keys[0]);
    editor.EditField(kIdChordKey2, options.keys.size() > 1 ? options.keys[1] : "");
  }
  if (!options.outputs.empty()) {
    for (std::size_t i = 0; i < kOutputFields.size(); ++i) {
      editor.EditField(kOutputFields[i], i < options.outputs.size() ? options.outputs[i] : "");
    }
  }
  if (options.sixth) editor.EditField(kIdChordSixth, *options.sixth);
  if (options.modifiers) {
    std::array<bool, kChordModifierBoxes> ticked{};
    ParseModifierWords(*options.modifiers, ticked);
    const bool any = std::find(ticked.begin(), ticked.end(), true) != ticked.end();
    if (any && !editor.ModifierBoxesApply()) {
      context.Err() << "qp40ctl: chord " << options.number
                    << " has a sixth output character, which leaves no room for modifiers; "
                       "clear it with --sixth \"\"\n";
      return kExitUsage;
    }
    for (std::size_t box = 0; box < ticked.size(); ++box) {
      editor.SetChecked(kChordModifierBoxIds[box], ticked[box]);
    }
  }
  if (editor.Confirm().status != ChordEditorLogic::ConfirmStatus::kStored) {
    context.Err() << "qp40ctl: " << options.file << " is left as it is\n";
    return kExitFailed;
  }
  return editor.Export(PathFromUtf8(options.file)) ? kExitOk : kExitFailed;
}

int RunChordCut(CommandContext& context, const std::string& file, int number) {
  ChordTable table{};
  if (!ReadWholeChordFile(context, file, table)) return kExitFailed;
  EditingSession session;
  ChordEditorLogic editor(session, table, context.Messages());
  editor.Open();
  editor.Select(number - 1);
  editor.Cut();
  return editor.Export(PathFromUtf8(file)) ? kExitOk : kExitFailed;
}

int RunChordNew(CommandContext& context, const std::string& file, bool force) {
  std::error_code error;
  if (!force && std::filesystem::exists(PathFromUtf8(file), error)) {
    context.Err() << "qp40ctl: " << file << " exists already; --force replaces it\n";
    return kExitFailed;
  }
  if (!SaveChordFile(PathFromUtf8(file), ChordTable{})) {
    context.Err() << "qp40ctl: " << file << ": cannot be written\n";
    return kExitFailed;
  }
  return kExitOk;
}

// The usage error for a word that is no key name, naming the nearest ones.
std::string CheckKeyName(const std::string& word) {
  if (LookupWord(word).found) return {};
  const std::vector<std::string_view> names = KeyWordNames();
  return UnknownName(word, "is no key name", names);
}

std::string CheckModifierWords(const std::string& words) {
  std::array<bool, kChordModifierBoxes> ticked{};
  return ParseModifierWords(words, ticked);
}

void AddChordNumber(CLI::App& command, int& number) {
  command.add_option("N", number, "Chord number 1-32")
      ->required()
      ->transform(DecimalNumber())
      ->check(CLI::Range(1, static_cast<int>(kChordCount)));
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

  auto force = std::make_shared<bool>(false);
  CLI::App* create = chord->add_subcommand("new", "Write a chord file of 32 empty chords");
  create->add_option("FILE", *file, "Chord file (*.txt) to create")->required();
  create->add_flag("--force", *force, "Replace FILE when it exists");
  create->callback([file, force, &action] {
    action = [file, force](CommandContext& context) { return RunChordNew(context, *file, *force); };
  });

  auto number = std::make_shared<int>(0);
  CLI::App* cut = chord->add_subcommand("cut", "Clear chord N of a chord file");
  cut->add_option("FILE", *file, "Chord file (*.txt)")->required();
  AddChordNumber(*cut, *number);
  cut->callback([file, number, &action] {
    action = [file, number](CommandContext& context) {
      return RunChordCut(context, *file, *number);
    };
  });

  auto options = std::make_shared<ChordSetOptions>();
  CLI::App* set = chord->add_subcommand(
      "set",
      "Change chord N of a chord file as the chord editor's OK does: the options given replace "
      "those fields, the others keep what the chord has");
  set->add_option("FILE", options->file, "Chord file (*.txt)")->required();
  AddChordNumber(*set, options->number);
  set->add_option("--keys", options->keys, "The one or two trigger keys, e.g. --keys s d")
      ->expected(1, 2)
      ->type_name("K1 [K2]")
      ->check(CLI::Validator(CheckKeyName, ""));
  set->add_option("--out", options->outputs,
                  "Output characters 1 to 5 (the rest become empty), e.g. --out Enter")
      ->expected(1, static_cast<int>(kChordOutputCount))
      ->type_name("C1 [.. C5]")
      ->check(CLI::Validator(CheckKeyName, ""));
  set->add_option("--mods", options->modifiers,
                  "The modifiers held with the outputs, from Ctrl, Shift, Alt and Win; \"\" for "
                  "none, e.g. --mods Ctrl,Shift")
      ->type_name("MODS")
      ->check(CLI::Validator(CheckModifierWords, ""));
  set->add_option("--sixth", options->sixth,
                  "A sixth output character (a key code up to 0x7F) in place of the modifiers; "
                  "\"\" for none, e.g. --sixth Enter")
      ->type_name("C")
      ->check(CLI::Validator(CheckKeyName, ""));
  set->footer(
      "Examples:\n"
      "  qp40ctl chord set chords.txt 1 --keys s d --out Enter\n"
      "  qp40ctl chord set chords.txt 2 --keys Space a --out w d c --mods Shift,Ctrl\n"
      "  qp40ctl chord set chords.txt 3 --sixth Enter");
  set->callback([options, &action] {
    action = [options](CommandContext& context) { return RunChordSet(context, *options); };
  });
}

}  // namespace qp40::ctl
