#include "picture/svg_text.h"

#include <cstdint>

#include "editing/keypad_text.h"

namespace qp40 {
namespace {

constexpr char32_t kLastC0Control = 0x1F;
constexpr char32_t kDelete = 0x7F;
constexpr char32_t kLastC1Control = 0x9F;
constexpr char32_t kLastCodePoint = 0x10FFFF;
constexpr char32_t kFirstSurrogate = 0xD800;
constexpr char32_t kLastSurrogate = 0xDFFF;

bool IsControl(char32_t code) {
  return code <= kLastC0Control || (code >= kDelete && code <= kLastC1Control);
}

// Length of the UTF-8 sequence that starts with `lead`, 0 for a byte no sequence starts with.
std::size_t SequenceLength(std::uint8_t lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

// True, with its code point in `code`, when `text[at]` starts a well-formed sequence of `length`
// bytes.
bool DecodeAt(std::string_view text, std::size_t at, std::size_t length, char32_t& code) {
  if (length == 0 || at + length > text.size()) return false;
  const auto lead = static_cast<std::uint8_t>(text[at]);
  static constexpr std::uint8_t kLeadMasks[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
  code = lead & kLeadMasks[length];
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<std::uint8_t>(text[at + i]);
    if ((next & 0xC0) != 0x80) return false;
    code = code << 6 | (next & 0x3F);
  }
  // Overlong forms, surrogates and values beyond Unicode are no characters.
  static constexpr char32_t kShortestOf[] = {0, 0, 0x80, 0x800, 0x10000};
  return code >= kShortestOf[length] && code <= kLastCodePoint &&
         (code < kFirstSurrogate || code > kLastSurrogate);
}

}  // namespace

std::string XmlEscapeUtf8(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t at = 0;
  while (at < utf8.size()) {
    const std::size_t length = SequenceLength(static_cast<std::uint8_t>(utf8[at]));
    char32_t code = 0;
    if (!DecodeAt(utf8, at, length, code)) {
      out += kReplacementCharacter;
      ++at;
      continue;
    }
    switch (code) {
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '&':
        out += "&amp;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&apos;";
        break;
      default:
        if (IsControl(code)) {
          out += kReplacementCharacter;
        } else {
          out.append(utf8.substr(at, length));
        }
    }
    at += length;
  }
  return out;
}

std::string XmlEscapeKeypadBytes(std::string_view bytes) {
  return XmlEscapeUtf8(Utf8FromKeypadBytes(bytes));
}

std::string FittedKeypadText(std::string_view bytes, std::size_t max_characters) {
  if (bytes.size() <= max_characters) return XmlEscapeKeypadBytes(bytes);
  if (max_characters == 0) return {};
  return XmlEscapeKeypadBytes(bytes.substr(0, max_characters - 1)) + std::string(kEllipsis);
}

}  // namespace qp40
