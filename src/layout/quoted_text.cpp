#include "layout/quoted_text.h"

#include "editing/keypad_text.h"

namespace qp40 {
namespace {

constexpr char kQuote = '"';
constexpr char kEscape = '\\';
constexpr char kHexEscape = 'x';
constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kLastPrintable = 0x7E;
constexpr std::string_view kHexDigits = "0123456789ABCDEF";
constexpr unsigned kNibbleBits = 4;
constexpr unsigned kNibbleMask = 0x0F;

bool Printable(unsigned char byte) { return byte >= kFirstPrintable && byte <= kLastPrintable; }

std::optional<unsigned> HexValue(char digit) {
  if (digit >= '0' && digit <= '9') return static_cast<unsigned>(digit - '0');
  if (digit >= 'a' && digit <= 'f') return static_cast<unsigned>(digit - 'a' + 10);
  if (digit >= 'A' && digit <= 'F') return static_cast<unsigned>(digit - 'A' + 10);
  return std::nullopt;
}

}  // namespace

std::string QuoteKeypadBytes(std::string_view bytes) {
  std::string quoted(1, kQuote);
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == kQuote || c == kEscape) {
      quoted += kEscape;
      quoted += c;
    } else if (Printable(byte)) {
      quoted += c;
    } else {
      quoted += kEscape;
      quoted += kHexEscape;
      quoted += kHexDigits[byte >> kNibbleBits];
      quoted += kHexDigits[byte & kNibbleMask];
    }
  }
  quoted += kQuote;
  return quoted;
}

std::optional<UnquotedText> Unquote(std::string_view text, std::size_t start) {
  if (start >= text.size() || text[start] != kQuote) return std::nullopt;
  UnquotedText result;
  for (std::size_t i = start + 1; i < text.size(); ++i) {
    const char c = text[i];
    if (c == kQuote) {
      result.end = i + 1;
      return result;
    }
    if (c != kEscape) {
      result.utf8 += c;
      continue;
    }
    if (++i >= text.size()) return std::nullopt;
    if (text[i] == kQuote || text[i] == kEscape) {
      result.utf8 += text[i];
    } else if (text[i] == kHexEscape && i + 2 < text.size()) {
      const std::optional<unsigned> high = HexValue(text[i + 1]);
      const std::optional<unsigned> low = HexValue(text[i + 2]);
      if (!high || !low) return std::nullopt;
      const char byte = static_cast<char>((*high << kNibbleBits) | *low);
      result.utf8 += Utf8FromKeypadBytes(std::string_view(&byte, 1));
      i += 2;
    } else {
      return std::nullopt;
    }
  }
  return std::nullopt;
}

bool NeedsQuotes(std::string_view word) {
  if (word.empty()) return true;
  for (const char c : word) {
    if (c == kQuote || c == kEscape || c == '+' || c == ':' || c == ' ' ||
        !Printable(static_cast<unsigned char>(c))) {
      return true;
    }
  }
  return false;
}

}  // namespace qp40
