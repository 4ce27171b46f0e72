#pragma once

#include <cstdint>
#include <string_view>

#include "log/log.h"
#include "log/notifier.h"
#include "macros/macro_record.h"

namespace qp40 {

enum class CompileStatus {
  kCompiled,     // every line went through; the buffer holds the macro
  kUnknownWord,  // a line's first word is no key word; the buffer holds the lines before it
  kRefused,      // a limit was passed (word, line or script length); the buffer is all zero
};

struct CompileResult {
  CompileStatus status = CompileStatus::kRefused;
  MacroBuffer buffer{};
  std::size_t records = 0;  // records written
};

// Message box shown when a script does not compile.
inline constexpr std::string_view kCreateScriptError = "ERROR: Create Macro Script !";

// Compiles a script into a macro buffer for macro `macro_number`. Line ends are normalised to
// CR LF first, so text from any platform compiles alike. Every line takes a line number, blank
// ones too; a line of two words or more that ends with a line break becomes one record, and the
// text after the last line break is checked but not stored. Problems go to the log and, when the
// script cannot be compiled, to a message box.
CompileResult CompileScript(std::string_view script, std::uint8_t macro_number, Log& log,
                            Notifier& notifier);

}  // namespace qp40
