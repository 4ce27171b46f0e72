#include "macros/line_parser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qp40 {
namespace {

ParsedLine Parse(std::string_view text) {
  std::size_t cursor = 0;
  return ParseLine(ReadScriptLine(text, cursor));
}

using Parameters = std::array<std::uint8_t, kRecordParameterCount>;

TEST(LineParserTest, CommandParametersAndDelay) {
  struct Case {
    std::string_view line;
    std::uint8_t command;
    Parameters parameters;
    std::uint16_t delay;
  };
  const Case cases[] = {
      {"press a  b  c  20\r", kMacroPress, {0x04, 0x05, 0x06}, 4},
      {"press M_Left -20 -30 100\r", kMacroPress, {0xF1, 0xEC, 0xE2}, 20},
      {"release A 20\r", kMacroRelease, {0x04}, 4},
      // "01" is the number 1, "1" the digit key.
      {"jump 01 20\r", kMacroJump, {0x01}, 4},
      {"jump 1 20\r", kMacroJump, {0x1E}, 4},
      // String and burst numbers are plain decimals, cut to a byte.
      {"string 04 30\r", kMacroString, {4}, 6},
      {"string 4 a 30\r", kMacroString, {4, 0}, 6},
      {"burst 300 20\r", kMacroBurst, {0x2C}, 4},
      {"pause 30\r", kMacroPause, {}, 6},
      {"delay 200\r", kMacroDelay, {}, 40},
      // Any key word can be a command; "00" is the command 0, which the compiler skips.
      {"Enter xyz 20\r", 0x28, {0x00}, 4},
      {"00 a 20\r", 0x00, {0x04}, 4},
      // More than ten parameters: command and delay stay, the parameters go.
      {"press a b c d e f g h i j k 25\r", kMacroPress, {}, 5},
  };
  for (const Case& c : cases) {
    const ParsedLine parsed = Parse(c.line);
    EXPECT_EQ(parsed.result, ParseResult::kLineEnded) << c.line;
    EXPECT_EQ(parsed.record.command, c.command) << c.line;
    EXPECT_EQ(parsed.record.parameters, c.parameters) << c.line;
    EXPECT_EQ(parsed.record.delay, c.delay) << c.line;
  }
}

TEST(LineParserTest, ShortUnknownAndOverlongLines) {
  const ParsedLine one_word = Parse("pause\r");
  EXPECT_EQ(one_word.result, ParseResult::kLineEnded);
  EXPECT_EQ(one_word.record.command, 0);
  EXPECT_EQ(Parse("").result, ParseResult::kTextEnded);
  EXPECT_EQ(Parse("press a 20").result, ParseResult::kTextEnded);

  const ParsedLine capital = Parse("Press a 20\r");
  EXPECT_EQ(capital.result, ParseResult::kError);
  EXPECT_EQ(capital.unknown_word, "Press");
  EXPECT_EQ(capital.record.command, 0);

  EXPECT_EQ(Parse("string 1 2 3 4 5 6 7 8 9 10 11 30\r").result, ParseResult::kSkipped);
  EXPECT_EQ(Parse("burst 1 2 3 4 5 6 7 8 9 10 30\r").result, ParseResult::kLineEnded);
}

TEST(LineParserTest, DelayWordsBecomeUnitsOfFiveMillisecondsWithinTheLimits) {
  struct Case {
    std::string_view word;
    std::uint16_t units;
  };
  const Case cases[] = {
      {"0", 4},          {"19", 4},         {"24", 4},
      {"25", 5},         {"30", 6},         {"239999", 47999},
      {"240000", 48000}, {"300000", 48000}, {"400000", 48000},
      {"-20", 4},        {"-400000", 4},    {"99999999999999999999999999", 48000},
      {"abc", 4},        {"12abc", 4},      {"+100", 20},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DelayUnits(c.word), c.units) << c.word;
  }
}

TEST(LineParserTest, DecimalNumbersCutToTheirLowByte) {
  // String and burst parameters read numbers as every typed number is read: no key words.
  const ParsedLine parsed = Parse("string 300 -20 04 x 12345678901234567890123 30\r");
  EXPECT_EQ(parsed.record.parameters, (Parameters{0x2C, 0xEC, 4, 0, 0xCB}));
}

}  // namespace
}  // namespace qp40
