#include "editing/keypad_text.h"

#include <algorithm>
#include <cstdint>

namespace qp40 {
namespace {

constexpr char32_t kLastLatin1 = 0xFF;

struct Character {
  char32_t code = 0;
  std::size_t length = 1;  // bytes of the UTF-8 text it takes
};

// The character at `at`; a byte that starts no valid sequence is taken as one Latin-1 character.
Character CharacterAt(std::string_view text, std::size_t at) {
  const auto lead = static_cast<std::uint8_t>(text[at]);
  std::size_t length = 0;
  char32_t code = 0;
  if (lead < 0x80) return {lead, 1};
  if ((lead & 0xE0) == 0xC0) {
    length = 2;
    code = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3;
    code = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4;
    code = lead & 0x07;
  } else {
    return {lead, 1};
  }
  if (at + length > text.size()) return {lead, 1};
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<std::uint8_t>(text[at + i]);
    if ((next & 0xC0) != 0x80) return {lead, 1};
    code = (code << 6) | (next & 0x3F);
  }
  // Overlong forms are no valid UTF-8 either.
  constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (code < kSmallest[length]) return {lead, 1};
  return {code, length};
}

bool Keeps(KeypadTextKind kind, char32_t code) {
  return kind == KeypadTextKind::kBurst ? code >= 0x01 && code <= 0x7F
                                        : code >= 0x20 && code <= 0x7E;
}

}  // namespace

std::string KeypadBytesFromUtf8(std::string_view utf8) {
  std::string bytes;
  for (std::size_t at = 0; at < utf8.size();) {
    const Character c = CharacterAt(utf8, at);
    bytes.push_back(c.code <= kLastLatin1 ? static_cast<char>(c.code) : kNotSingleByte);
    at += c.length;
  }
  return bytes;
}

std::string Utf8FromKeypadBytes(std::string_view bytes) {
  std::string utf8;
  for (const char byte : bytes) {
    const auto code = static_cast<std::uint8_t>(byte);
    if (code < 0x80) {
      utf8.push_back(byte);
    } else {
      utf8.push_back(static_cast<char>(0xC0 | (code >> 6)));
      utf8.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
  }
  return utf8;
}

std::vector<std::string> CharactersNotStored(std::string_view utf8, KeypadTextKind kind) {
  std::vector<std::string> dropped;
  for (std::size_t at = 0; at < utf8.size();) {
    const Character c = CharacterAt(utf8, at);
    if (!Keeps(kind, c.code)) {
      // A lone byte that is no UTF-8 is named as the Latin-1 character it stands for.
      std::string text = c.length == 1 ? Utf8FromKeypadBytes(utf8.substr(at, 1))
                                       : std::string(utf8.substr(at, c.length));
      if (std::find(dropped.begin(), dropped.end(), text) == dropped.end()) {
        dropped.push_back(std::move(text));
      }
    }
    at += c.length;
  }
  return dropped;
}

std::size_t CharacterCount(std::string_view utf8) {
  std::size_t count = 0;
  for (std::size_t at = 0; at < utf8.size(); ++count) at += CharacterAt(utf8, at).length;
  return count;
}

}  // namespace qp40
