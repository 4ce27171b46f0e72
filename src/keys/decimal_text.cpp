#include "keys/decimal_text.h"

#include <limits>

namespace qp40 {
namespace {

constexpr std::int64_t kValueLimit = std::numeric_limits<std::int64_t>::max() / 10 - 9;
constexpr unsigned kByteMask = 0xFF;
constexpr unsigned kByteCount = 0x100;

struct SignedDigits {
  bool negative = false;
  std::string_view digits;
};

constexpr bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

SignedDigits SplitNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) {
    ++i;
  }
  SignedDigits number;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    number.negative = text[i] == '-';
    ++i;
  }
  std::size_t end = i;
  while (end < text.size() && text[end] >= '0' && text[end] <= '9') {
    ++end;
  }
  number.digits = text.substr(i, end - i);
  return number;
}

}  // namespace

std::int64_t DecimalValue(std::string_view text) {
  const SignedDigits number = SplitNumber(text);
  std::int64_t value = 0;
  for (const char digit : number.digits) {
    value = value * 10 + (digit - '0');
    if (value > kValueLimit) {
      value = kValueLimit;
    }
  }
  return number.negative ? -value : value;
}

std::uint8_t DecimalLowByte(std::string_view text) {
  const SignedDigits number = SplitNumber(text);
  // Counting modulo 256 gives the low byte of the true value however many digits are typed.
  unsigned value = 0;
  for (const char digit : number.digits) {
    value = (value * 10 + static_cast<unsigned>(digit - '0')) & kByteMask;
  }
  if (number.negative) {
    value = (kByteCount - value) & kByteMask;
  }
  return static_cast<std::uint8_t>(value);
}

}  // namespace qp40
