#pragma once

#include <cstdint>
#include <string_view>

namespace qp40 {

// How the tool reads a number that the user typed, in a key's code fields and in a macro
// script alike: leading blanks (space, tab, line feed, vertical tab, form feed, carriage
// return), an optional sign, then the digits that follow; whatever comes after them is ignored,
// and a text without digits reads as 0.

// The value, saturating far beyond any number a script means instead of overflowing.
std::int64_t DecimalValue(std::string_view text);

// The value cut to its low byte, exactly, for numbers of any length: "-20" is 0xEC, "300" 0x2C.
std::uint8_t DecimalLowByte(std::string_view text);

}  // namespace qp40
