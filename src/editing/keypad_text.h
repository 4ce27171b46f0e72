#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qp40 {

// Texts for the keypad are single-byte. The editors hold what the user typed as UTF-8 and turn
// it into the keypad's bytes only when it is stored.

// The single-byte form of a UTF-8 text: each character up to U+00FF becomes its Latin-1 byte,
// any other character the byte kNotSingleByte, which neither the burst nor the string table
// keeps. A byte that is no valid UTF-8 stands for itself.
std::string KeypadBytesFromUtf8(std::string_view utf8);
inline constexpr char kNotSingleByte = '\x80';

// The UTF-8 form of the keypad's bytes, read as Latin-1.
std::string Utf8FromKeypadBytes(std::string_view bytes);

// Which table a text goes to decides which characters it keeps.
enum class KeypadTextKind {
  kBurst,   // characters 1..127
  kString,  // printable ASCII, 0x20..0x7E
};

// The characters of a UTF-8 text that the table does not keep, each once, in order of first
// appearance.
std::vector<std::string> CharactersNotStored(std::string_view utf8, KeypadTextKind kind);

// The number of characters of a UTF-8 text, which is also its length in keypad bytes.
std::size_t CharacterCount(std::string_view utf8);

}  // namespace qp40
