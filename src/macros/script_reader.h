#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qp40 {

// Limits of one script: words longer, lines wider or scripts longer than these are refused.
inline constexpr std::size_t kMaxWordLength = 59;
inline constexpr std::size_t kMaxLineWords = 16;
inline constexpr std::size_t kMaxScriptLines = 255;  // line numbers are one byte
// The last line that may hold words: a record of line 255 would carry the line byte 0xFF, the
// mark of a free record, so the keypad and the listing would take it for empty.
inline constexpr std::size_t kMaxCommandLine = kMaxScriptLines - 1;

enum class LineEnd {
  kCarriageReturn,  // the line ended with CR; more text may follow
  kTextEnded,       // the text ended (its end or a NUL byte) in this line
};

// The words of one script line as the keypad's compiler sees them.
struct ScriptLine {
  std::vector<std::string> words;  // at most kMaxLineWords, each at most kMaxWordLength long
  LineEnd end = LineEnd::kTextEnded;
  bool word_too_long = false;   // a word was longer than kMaxWordLength (it is cut)
  std::string long_word;        // the first such word, as far as it is kept
  bool too_many_words = false;  // the line had more than kMaxLineWords words (the rest dropped)
};

// Reads the next line of `text` from `cursor` and leaves `cursor` behind the last byte read.
// Spaces separate words; a CR ends the line; a NUL ends the text. Every other control byte
// (line feed and tab included) and every byte of 0x80 or above is dropped without ending the
// word, so a tab joins the words on either side of it.
ScriptLine ReadScriptLine(std::string_view text, std::size_t& cursor);

}  // namespace qp40
