#include "macros/line_parser.h"

#include <algorithm>
#include <limits>

#include "keys/key_words.h"

namespace qp40 {

namespace {

// A line holds its command, up to ten parameters and its delay.
constexpr std::size_t kMaxWordsWithParameters = 2 + kRecordParameterCount;

struct SignedDigits {
  bool negative = false;
  std::string_view digits;
};

SignedDigits SplitNumber(std::string_view word) {
  std::size_t i = 0;
  while (i < word.size() && (word[i] == ' ' || word[i] == '\t')) {
    ++i;
  }
  SignedDigits number;
  if (i < word.size() && (word[i] == '+' || word[i] == '-')) {
    number.negative = word[i] == '-';
    ++i;
  }
  std::size_t end = i;
  while (end < word.size() && word[end] >= '0' && word[end] <= '9') {
    ++end;
  }
  number.digits = word.substr(i, end - i);
  return number;
}

ParseResult EndResult(LineEnd end) {
  return end == LineEnd::kCarriageReturn ? ParseResult::kLineEnded : ParseResult::kTextEnded;
}

}  // namespace

std::int64_t DecimalValue(std::string_view word) {
  const SignedDigits number = SplitNumber(word);
  constexpr std::int64_t kLimit = std::numeric_limits<std::int64_t>::max() / 10 - 9;
  std::int64_t value = 0;
  for (char digit : number.digits) {
    value = value * 10 + (digit - '0');
    if (value > kLimit) {
      value = kLimit;
    }
  }
  return number.negative ? -value : value;
}

std::uint8_t DecimalLowByte(std::string_view word) {
  const SignedDigits number = SplitNumber(word);
  unsigned value = 0;
  for (char digit : number.digits) {
    value = (value * 10 + static_cast<unsigned>(digit - '0')) & 0xFFu;
  }
  if (number.negative) {
    value = (0x100u - value) & 0xFFu;
  }
  return static_cast<std::uint8_t>(value);
}

std::uint16_t DelayUnits(std::string_view word) {
  const std::int64_t units = DecimalValue(word) / kMsPerDelayUnit;
  return static_cast<std::uint16_t>(
      std::clamp<std::int64_t>(units, kMinDelayUnits, kMaxDelayUnits));
}

ParsedLine ParseLine(const ScriptLine& line) {
  ParsedLine parsed;
  parsed.result = EndResult(line.end);
  const std::size_t n = line.words.size();
  if (n < 2) {
    return parsed;
  }

  const WordLookupResult command = LookupWord(line.words.front());
  if (!command.found) {
    parsed.result = ParseResult::kError;
    parsed.unknown_word = line.words.front();
    return parsed;
  }
  parsed.record.command = command.code;
  parsed.record.delay = DelayUnits(line.words.back());

  const bool numbers_only = command.code == kMacroString || command.code == kMacroBurst;
  if (n > kMaxWordsWithParameters) {
    if (numbers_only) {
      parsed.result = ParseResult::kSkipped;
    }
    return parsed;
  }
  for (std::size_t i = 1; i + 1 < n; ++i) {
    const std::string& word = line.words[i];
    parsed.record.parameters[i - 1] = numbers_only ? DecimalLowByte(word) : LookupWord(word).code;
  }
  return parsed;
}

}  // namespace qp40
