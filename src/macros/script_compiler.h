#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "log/log.h"
#include "log/notifier.h"
#include "macros/macro_record.h"

namespace qp40 {

enum class CompileStatus {
  kCompiled,     // every line went through; the buffer holds the macro
  kUnknownWord,  // a line's first word is no key word; the buffer holds the lines before it
  kRefused,      // a limit was passed (word, line or script length); the buffer is all zero
};

enum class ScriptProblemKind {
  kUnknownWord,   // a line's first word is no key word: compiling stops at that line
  kWordTooLong,   // a word of more than kMaxWordLength characters: the script is refused
  kTooManyWords,  // a line of more than kMaxLineWords words: the script is refused
  kTooManyLines,  // words beyond line kMaxCommandLine: the script is refused
  kJumpRepaired,  // a jump beyond the script now goes to line 1; the macro still compiles
};

// One thing the compiler found wrong with a script, where it is and what the user is told.
struct ScriptProblem {
  ScriptProblemKind kind = ScriptProblemKind::kUnknownWord;
  std::size_t line = 0;  // script line, counted from 1 like the records' line numbers
  std::string word;      // the unknown word, or the overlong one as far as it is kept; else empty
  std::string text;      // the log line that tells the user of it

  friend bool operator==(const ScriptProblem&, const ScriptProblem&) = default;
};

struct CompileResult {
  CompileStatus status = CompileStatus::kRefused;
  MacroBuffer buffer{};
  std::size_t records = 0;              // records written
  std::vector<ScriptProblem> problems;  // in the order found; none for a clean script
};

// Message box shown when a script does not compile.
inline constexpr std::string_view kCreateScriptError = "ERROR: Create Macro Script !";

// Compiles a script into a macro buffer for macro `macro_number`. Line ends are normalised to
// CR LF first, so text from any platform compiles alike. Every line takes a line number, blank
// ones too; a line of two words or more that ends with a line break becomes one record, and the
// text after the last line break is checked but not stored. Words on a line past
// kMaxCommandLine refuse the script, blank lines there do not. Nothing is logged or shown, so a
// script can be checked as often as it changes.
CompileResult CompileScript(std::string_view script, std::uint8_t macro_number);

// Compiles as above and tells the user of the problems in the order found: each one's text goes
// to the log, and one that keeps the script from compiling also shows a message box.
CompileResult CompileScript(std::string_view script, std::uint8_t macro_number, Log& log,
                            Notifier& notifier);

}  // namespace qp40
