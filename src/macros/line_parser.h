#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "macros/macro_record.h"
#include "macros/script_reader.h"

namespace qp40 {

enum class ParseResult {
  kLineEnded,  // the line ended with CR
  kTextEnded,  // the text ended in this line
  kError,      // the first word is no key word
  kSkipped,    // a string or burst line with more parameters than a record holds
};

// What one line compiles to, before it becomes a macro record.
struct LineRecord {
  std::uint8_t command = 0;
  std::array<std::uint8_t, kRecordParameterCount> parameters{};
  std::uint16_t delay = 0;  // units of 5 ms, kMinDelayUnits..kMaxDelayUnits
};

struct ParsedLine {
  ParseResult result = ParseResult::kTextEnded;
  LineRecord record;         // all zero for lines of fewer than two words and for errors
  std::string unknown_word;  // the first word, when it is no key word
};

// Parses one line: the first word is the command, the last the delay in milliseconds, the words
// between are parameters. String and burst parameters are plain decimal numbers ("4" and "04"
// are both 4); other parameters are key words, or decimal numbers cut to a byte ("-20" is
// 0xEC). A line of more than 12 words keeps its command and delay but no parameters.
ParsedLine ParseLine(const ScriptLine& line);

// A delay word in milliseconds as the record's units of 5 ms: floor(ms / 5), held between
// kMinDelayUnits and kMaxDelayUnits, so a negative delay is the shortest and a huge one the
// longest rather than a wrapped-around value.
std::uint16_t DelayUnits(std::string_view word);

}  // namespace qp40
