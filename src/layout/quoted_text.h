#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace qp40 {

// Texts inside key expressions are written between double quotes. Inside them `\"` stands for a
// quote, `\\` for a backslash and `\xHH` (two hex digits) for any byte outside printable ASCII,
// so a keypad text of single bytes (read as Latin-1) survives any transport as plain ASCII.

// `bytes` (the keypad's single-byte text) between quotes, escaped as above.
std::string QuoteKeypadBytes(std::string_view bytes);

// A quoted text that starts at `text[start]`: its content as UTF-8 (each `\xHH` the Latin-1
// character of that byte; other characters as written) and where the text goes on after the
// closing quote. Nothing when `text[start]` is no quote or the quote is not closed properly.
struct UnquotedText {
  std::string utf8;
  std::size_t end = 0;
};
std::optional<UnquotedText> Unquote(std::string_view text, std::size_t start);

// Whether `word` has to be quoted to stand as one key name in an expression: it is empty, or
// holds a quote, a backslash, '+', ':', a blank or a byte outside printable ASCII.
bool NeedsQuotes(std::string_view word);

}  // namespace qp40
