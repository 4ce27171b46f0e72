#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qp40 {

// Shown where a text is cut short and in place of a character no picture can hold.
inline constexpr std::string_view kEllipsis = "\xE2\x80\xA6";              // U+2026
inline constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";  // U+FFFD

// A UTF-8 text made safe for XML character data and attribute values: the five markup
// characters become references, and control characters (C0, DEL, C1) and bytes that are no
// valid UTF-8 become U+FFFD, since XML forbids most of them and none of them can be drawn.
std::string XmlEscapeUtf8(std::string_view utf8);

// The keypad's single-byte text, read as Latin-1, made safe for XML the same way.
std::string XmlEscapeKeypadBytes(std::string_view bytes);

// The first `max_characters` characters of a keypad text; a longer text keeps one character
// fewer and ends in U+2026. The result is escaped for XML.
std::string FittedKeypadText(std::string_view bytes, std::size_t max_characters);

}  // namespace qp40
