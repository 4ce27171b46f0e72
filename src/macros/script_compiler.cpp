#include "macros/script_compiler.h"

#include <algorithm>
#include <optional>
#include <span>
#include <string>
#include <utility>

#include "log/text_format.h"
#include "macros/line_ends.h"
#include "macros/line_parser.h"
#include "macros/script_reader.h"

namespace qp40 {

namespace {

constexpr std::string_view kJumpRepaired =
    ">> Error: Macro command = jump, first parameter wrong!  and replaced by new number, 01.";
constexpr std::uint8_t kJumpRepairTarget = 1;
static_assert(kMaxCommandLine < kFreeLineErased,
              "a command's line byte must not mark a free record");

// A refused script's log line is its message box text after this lead.
constexpr std::string_view kRefusalLead = ">> ";

std::span<std::uint8_t, kMacroRecordSize> RecordAt(MacroBuffer& buffer, std::size_t index) {
  return std::span(buffer).subspan(RecordOffset(index)).first<kMacroRecordSize>();
}

// The first free record above `current`, where the next line's record goes.
std::size_t NextFreeRecord(const MacroBuffer& buffer, std::size_t current) {
  for (std::size_t index = 1; index < kMacroRecordCount; ++index) {
    if (index != current && IsFreeLineNumber(buffer[RecordOffset(index) + kRecordLine])) {
      return index;
    }
  }
  return 0;
}

void WriteRecord(std::span<std::uint8_t, kMacroRecordSize> record, std::uint8_t line,
                 const LineRecord& parsed) {
  record[kRecordLine] = line;
  record[kRecordCommand] = parsed.command;
  for (std::size_t i = 0; i < kRecordParameterCount; ++i) {
    record[kRecordParameters + i] = parsed.parameters[i];
  }
  const std::uint16_t delay = std::min(parsed.delay, kMaxDelayUnits);
  record[kRecordDelayLow] = static_cast<std::uint8_t>(delay & 0xFF);
  record[kRecordDelayHigh] = static_cast<std::uint8_t>(delay >> 8);
}

// A jump to a line beyond the script would send the keypad nowhere: it goes to line 1 instead.
// The script's lines count as far as a record's line byte goes, up to kMaxCommandLine, however
// many blank lines follow: a jump to 255 would look for the free-record mark.
void RepairJumps(CompileResult& result, std::size_t line_count) {
  const std::size_t last_line = std::min(line_count, kMaxCommandLine);
  static_assert(kMaxCommandLine <= kMacroRecordCount);
  for (std::size_t index = 0; index < last_line; ++index) {
    auto record = RecordAt(result.buffer, index);
    if (record[kRecordCommand] == kMacroJump && record[kRecordParameters] > last_line) {
      record[kRecordParameters] = kJumpRepairTarget;
      result.problems.push_back(
          {ScriptProblemKind::kJumpRepaired, record[kRecordLine], {}, std::string(kJumpRepaired)});
    }
  }
}

// A refused script keeps nothing of what was compiled: the buffer is all zero.
CompileResult Refuse(ScriptProblemKind kind, std::size_t line, std::string word,
                     std::string_view reason) {
  CompileResult refused;
  refused.problems.push_back(
      {kind, line, std::move(word), std::string(kRefusalLead) + std::string(reason)});
  return refused;
}

bool IsRefusal(ScriptProblemKind kind) {
  return kind == ScriptProblemKind::kWordTooLong || kind == ScriptProblemKind::kTooManyWords ||
         kind == ScriptProblemKind::kTooManyLines;
}

// What the message box says for a problem; nothing for a repaired jump, which only the log tells.
std::optional<std::string_view> ProblemMessage(const ScriptProblem& problem) {
  if (problem.kind == ScriptProblemKind::kUnknownWord) {
    return kCreateScriptError;
  }
  if (IsRefusal(problem.kind)) {
    return std::string_view(problem.text).substr(kRefusalLead.size());
  }
  return std::nullopt;
}

}  // namespace

CompileResult CompileScript(std::string_view script, std::uint8_t macro_number) {
  const std::string text = NormaliseLineEnds(script);
  CompileResult result;
  result.status = CompileStatus::kCompiled;
  std::size_t cursor = 0;
  std::size_t line_count = 0;
  std::size_t current = 0;
  std::optional<std::size_t> last_written;

  for (;;) {
    ++line_count;
    const ScriptLine line = ReadScriptLine(text, cursor);
    if (line.word_too_long) {
      return Refuse(ScriptProblemKind::kWordTooLong, line_count, line.long_word,
                    FormatText("ERROR: Macro script line %d has a word of more than 59 "
                               "characters !",
                               static_cast<int>(line_count)));
    }
    if (line.too_many_words) {
      return Refuse(ScriptProblemKind::kTooManyWords, line_count, {},
                    FormatText("ERROR: Macro script line %d has more than 16 words !",
                               static_cast<int>(line_count)));
    }
    if (line_count > kMaxCommandLine && !line.words.empty()) {
      return Refuse(ScriptProblemKind::kTooManyLines, line_count, {},
                    "ERROR: Macro script has more than 255 lines !");
    }

    const ParsedLine parsed = ParseLine(line);
    if (parsed.result == ParseResult::kError) {
      result.problems.push_back({ScriptProblemKind::kUnknownWord, line_count, parsed.unknown_word,
                                 "Error1: can't identify the word, " + parsed.unknown_word + " "});
      result.status = CompileStatus::kUnknownWord;
      break;
    }
    if (parsed.result == ParseResult::kTextEnded) {
      auto last = RecordAt(result.buffer, last_written.value_or(0));
      last[kRecordNext] = 0;
      last[kRecordMacro] = 0;
      break;
    }
    if (parsed.result == ParseResult::kLineEnded && parsed.record.command != 0) {
      auto record = RecordAt(result.buffer, current);
      WriteRecord(record, static_cast<std::uint8_t>(line_count), parsed.record);
      const std::size_t next = NextFreeRecord(result.buffer, current);
      record[kRecordNext] = static_cast<std::uint8_t>(next);
      record[kRecordMacro] = next == 0 ? 0 : macro_number;
      last_written = current;
      ++result.records;
      current = next;
    }
  }

  RepairJumps(result, line_count);
  return result;
}

CompileResult CompileScript(std::string_view script, std::uint8_t macro_number, Log& log,
                            Notifier& notifier) {
  CompileResult result = CompileScript(script, macro_number);
  for (const ScriptProblem& problem : result.problems) {
    log.AppendLog(problem.text);
    if (const std::optional<std::string_view> message = ProblemMessage(problem)) {
      notifier.ShowMessage(*message);
    }
  }
  return result;
}

}  // namespace qp40
