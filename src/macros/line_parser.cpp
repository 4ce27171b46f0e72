#include "macros/line_parser.h"

#include <algorithm>

#include "keys/decimal_text.h"
#include "keys/key_words.h"

namespace qp40 {

namespace {

// A line holds its command, up to ten parameters and its delay.
constexpr std::size_t kMaxWordsWithParameters = 2 + kRecordParameterCount;

ParseResult EndResult(LineEnd end) {
  return end == LineEnd::kCarriageReturn ? ParseResult::kLineEnded : ParseResult::kTextEnded;
}

}  // namespace

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
