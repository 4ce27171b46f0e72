#include "editing/macro_editor_logic.h"

#include <array>
#include <fstream>
#include <iterator>
#include <span>

#include "files/file_replace.h"
#include "keys/key_words.h"
#include "log/text_format.h"
#include "macros/line_ends.h"
#include "macros/script_reader.h"

namespace qp40 {

namespace {

constexpr std::array<std::string_view, kMacroHelpEntryCount> kHelpEntries = {
    "Macro Number:  32, No.0~No.31",
    "Macro Command: Max 255 commands/macro",
    "Macro Instruct: ",
    "  press: push down one key\r\n    eg. press a  b  c  20\r\n    eg. press M_Left -20 -30 100",
    "  release: free one key.\r\n    eg. release a  b  c  20\r\n    eg. release M_Left 30",
    "  click: push down one key, next releas it\r\n    eg. click  a  b  c  30",
    "  delay: delay some time.\r\n    eg. delay 200",
    "  jump: jump to other command\r\n    eg. jump 01 20",
    "  pause: stop until second click\r\n    eg.  pause 30",
    "  string: output one string, string No.\r\n    eg.  string 04 30",
    "delay unit : ms.\r\nFormat of number: 2 chars at least,1=01, 2=02...\r\n        eg. 02, 200",
    "",
    "",
};

constexpr std::string_view kLineEnd = "\r\n";

std::string_view ProblemDescription(ScriptProblemKind kind) {
  switch (kind) {
    case ScriptProblemKind::kUnknownWord:
      return "no command word; the macro would end before this line";
    case ScriptProblemKind::kWordTooLong:
      return "a word of more than 59 characters";
    case ScriptProblemKind::kTooManyWords:
      return "more than 16 words";
    case ScriptProblemKind::kTooManyLines:
      return "past the last line a command may use";
    case ScriptProblemKind::kJumpRepaired:
      return "the jump goes beyond the script and would go to line 1";
  }
  return "";
}

bool IsNumber(std::string_view word) {
  if (!word.empty() && word.front() == '-') word.remove_prefix(1);
  return !word.empty() && word.find_first_not_of("0123456789") == std::string_view::npos;
}

}  // namespace

std::vector<ScriptWord> ClassifyScriptLine(std::string_view line) {
  std::vector<ScriptWord> words;
  std::size_t position = 0;
  while (true) {
    const std::size_t start = line.find_first_not_of(' ', position);
    if (start == std::string_view::npos) break;
    std::size_t end = line.find(' ', start);
    if (end == std::string_view::npos) end = line.size();
    const std::string_view word = line.substr(start, end - start);
    const bool known = LookupWord(word).found;
    ScriptWordKind kind = ScriptWordKind::kUnknown;
    if (words.empty()) {
      if (known) kind = ScriptWordKind::kCommand;
    } else if (IsNumber(word)) {
      kind = ScriptWordKind::kNumber;
    } else if (known) {
      kind = ScriptWordKind::kKeyName;
    }
    words.push_back({start, end - start, kind});
    position = end;
  }
  return words;
}

std::string_view MacroHelpEntry(std::size_t index) {
  return index < kHelpEntries.size() ? kHelpEntries[index] : std::string_view();
}

std::string ScriptFileBytes(std::string_view pane_text) { return NormaliseLineEnds(pane_text); }

std::string PaneTextFromFile(std::string_view file_bytes) {
  return NormaliseLineEnds(file_bytes.substr(0, file_bytes.find('\0')));
}

ScriptCheck CheckScript(std::string_view pane_text) {
  ScriptCheck check;
  const std::string text = NormaliseLineEnds(pane_text);
  std::size_t cursor = 0;
  std::size_t line = 0;
  while (true) {
    const ScriptLine read = ReadScriptLine(text, cursor);
    ++line;
    if (!read.words.empty()) {
      ++check.commands;
      if (line > kMaxCommandLine) check.over_limit = true;
    }
    if (read.end == LineEnd::kTextEnded) break;
  }
  // The macro number only goes into the records' bytes, never into what is refused.
  CompileResult compiled = CompileScript(text, 0);
  if (!compiled.problems.empty()) check.first_problem = std::move(compiled.problems.front());
  return check;
}

std::string CommandCountText(const ScriptCheck& check) {
  return FormatText("%zu of %zu commands", check.commands, kMaxScriptLines);
}

std::string ProblemText(const ScriptCheck& check) {
  if (!check.first_problem) return {};
  const ScriptProblem& problem = *check.first_problem;
  const std::string_view what = ProblemDescription(problem.kind);
  if (problem.word.empty()) {
    return FormatText("Line %zu: %.*s", problem.line, static_cast<int>(what.size()), what.data());
  }
  return FormatText("Line %zu, \"%.*s\": %.*s", problem.line, static_cast<int>(problem.word.size()),
                    problem.word.data(), static_cast<int>(what.size()), what.data());
}

MacroEditorLogic::MacroEditorLogic(EditingSession& session, MacroKeypad& keypad, Log& log,
                                   Notifier& notifier)
    : session_(session), keypad_(keypad), log_(log), notifier_(notifier) {}

void MacroEditorLogic::Open(std::uint32_t now) {
  message_text_.clear();
  command_text_.clear();
  unsaved_ = false;
  recorder_ = MacroRecorder(now);
  session_.screen_keyboard_owner = kOwnerMacroEditor;
  ShowHelp();
}

void MacroEditorLogic::ShowHelp() {
  message_text_.clear();
  for (const std::string_view entry : kHelpEntries) {
    message_text_ += kLineEnd;
    message_text_ += entry;
  }
}

void MacroEditorLogic::Clear(std::uint32_t now) {
  message_text_.clear();
  command_text_.clear();
  unsaved_ = false;
  recorder_.Clear(now);
}

void MacroEditorLogic::EditCommandText(std::string_view text) {
  if (text == command_text_) return;
  command_text_ = text;
  unsaved_ = true;
}

MacroLoadOutcome MacroEditorLogic::LoadOnboard(int selection) {
  MacroLoadOutcome outcome = keypad_.LoadMacroScript(selection);
  if (outcome.status == MacroLoadStatus::kListed) {
    command_text_ = outcome.listing;
    unsaved_ = false;
  } else {
    AppendMessage(outcome.message);
  }
  return outcome;
}

MacroSaveOutcome MacroEditorLogic::SaveOnboard(int selection) {
  MacroSaveOutcome outcome = keypad_.SaveMacroScript(selection, command_text_);
  switch (outcome.status) {
    case MacroSaveStatus::kStored:
      AppendMessage(kLineEnd);
      AppendMessage(outcome.message);
      unsaved_ = false;
      break;
    case MacroSaveStatus::kNotCompiled:
      for (const ScriptProblem& problem : outcome.problems) {
        AppendMessage(kLineEnd);
        AppendMessage(problem.text);
      }
      AppendMessage(kNothingStoredLine);
      break;
    case MacroSaveStatus::kTooShort:
    case MacroSaveStatus::kBadNumber:
      break;
  }
  return outcome;
}

ScriptFileStatus MacroEditorLogic::SaveScriptFile(const std::filesystem::path& path) {
  const std::string bytes = ScriptFileBytes(command_text_);
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
  // A save that fails half-way keeps the old file.
  if (!ReplaceFileContents(path, std::span(data, bytes.size()))) {
    notifier_.ShowMessage(kCantOpenFileMessage);
    return ScriptFileStatus::kCantOpen;
  }
  unsaved_ = false;
  return ScriptFileStatus::kDone;
}

ScriptFileStatus MacroEditorLogic::LoadScriptFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::error_code error;
  if (!file || std::filesystem::is_directory(path, error)) {
    log_.AppendLog(kCantOpenFileLogLine);
    return ScriptFileStatus::kCantOpen;
  }
  // Read one byte past the limit at most, so the size is known without reading a huge file.
  std::string bytes(kMaxScriptFileSize, '\0');
  file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<std::size_t>(file.gcount()));
  if (bytes.size() >= kMaxScriptFileSize) {
    notifier_.ShowMessage(kFileTooLargeMessage);
    return ScriptFileStatus::kTooLarge;
  }
  command_text_ = PaneTextFromFile(bytes);
  unsaved_ = false;
  return ScriptFileStatus::kDone;
}

void MacroEditorLogic::ToggleRecording(std::uint32_t now) {
  const ToggleResult result = recorder_.Toggle(now);
  command_text_ = result.text;
  unsaved_ = !recorder_.Recording() && !command_text_.empty();
  if (result.cut) {
    AppendMessage(kLineEnd);
    AppendMessage(kRecordingCutMessage);
    notifier_.ShowMessage(kRecordingCutMessage);
  }
}

MessageDisposition MacroEditorLogic::FilterMessage(std::uint32_t message, std::uint32_t parameter,
                                                   std::uint32_t time) {
  const FilterResult result = recorder_.Filter(message, parameter, time);
  AppendMessage(result.trace);
  command_text_ += result.preview;
  return result.disposition;
}

}  // namespace qp40
