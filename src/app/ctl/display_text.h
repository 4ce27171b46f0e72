#pragma once

#include <string>
#include <string_view>

namespace qp40::ctl {

// Texts of the keypad are single bytes (Latin-1). For the terminal each byte becomes its UTF-8
// character, and control characters (C0, DEL and C1) become '?' so a label can never break a
// line or a column, nor steer the terminal.
std::string TerminalText(std::string_view latin1);

// Each byte as its UTF-8 character, control characters included (for JSON, which escapes them).
std::string Latin1ToUtf8(std::string_view latin1);

// Pads `latin1` with blanks to `width` characters (counted before conversion) and converts it.
std::string PaddedTerminalText(std::string_view latin1, std::size_t width);

}  // namespace qp40::ctl
