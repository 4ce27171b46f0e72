#include "macros/script_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "macros/line_ends.h"

namespace qp40 {
namespace {

using Words = std::vector<std::string>;

TEST(ScriptReaderTest, SplitsWordsTheWayTheKeypadCompilerDoes) {
  struct Case {
    std::string_view text;
    Words words;
    LineEnd end;
    std::size_t cursor_after;
  };
  using std::string_view_literals::operator""sv;
  const Case cases[] = {
      {"press a  b  c  20\r\n", {"press", "a", "b", "c", "20"}, LineEnd::kCarriageReturn, 18},
      {"   lead and trail   ", {"lead", "and", "trail"}, LineEnd::kTextEnded, 20},
      {"\r\nnext", {}, LineEnd::kCarriageReturn, 1},
      {"", {}, LineEnd::kTextEnded, 0},
      // A tab or line feed joins the words around it; high bytes vanish; DEL is a character.
      {"press\ta 20", {"pressa", "20"}, LineEnd::kTextEnded, 10},
      {"pre\nss a", {"press", "a"}, LineEnd::kTextEnded, 8},
      {"ca\xE9t \x7F", {"cat", "\x7F"}, LineEnd::kTextEnded, 6},
      // A NUL ends the text; the cursor stays on it.
      {"ab\0cd\r"sv, {"ab"}, LineEnd::kTextEnded, 2},
  };
  for (const Case& c : cases) {
    std::size_t cursor = 0;
    const ScriptLine line = ReadScriptLine(c.text, cursor);
    EXPECT_EQ(line.words, c.words) << c.text;
    EXPECT_EQ(line.end, c.end) << c.text;
    EXPECT_EQ(cursor, c.cursor_after) << c.text;
    EXPECT_FALSE(line.word_too_long || line.too_many_words) << c.text;
  }
}

TEST(ScriptReaderTest, ReadsLineAfterLineUntilTheTextEnds) {
  const std::string text = "press a 20\r\n\r\nrelease a 20";
  std::size_t cursor = 0;
  EXPECT_EQ(ReadScriptLine(text, cursor).words, (Words{"press", "a", "20"}));
  EXPECT_EQ(ReadScriptLine(text, cursor).end, LineEnd::kCarriageReturn);
  const ScriptLine last = ReadScriptLine(text, cursor);
  EXPECT_EQ(last.words, (Words{"release", "a", "20"}));
  EXPECT_EQ(last.end, LineEnd::kTextEnded);
  EXPECT_EQ(ReadScriptLine(text, cursor).end, LineEnd::kTextEnded);
}

TEST(ScriptReaderTest, FlagsWordsAndLinesBeyondTheLimitsWithoutKeepingThem) {
  std::size_t cursor = 0;
  const std::string longest(kMaxWordLength, 'x');
  EXPECT_FALSE(ReadScriptLine(longest, cursor).word_too_long);

  cursor = 0;
  const ScriptLine too_long = ReadScriptLine(longest + "y z", cursor);
  EXPECT_TRUE(too_long.word_too_long);
  EXPECT_EQ(too_long.words, (Words{longest, "z"}));

  std::string widest;
  for (std::size_t i = 0; i < kMaxLineWords; ++i) {
    widest += "w ";
  }
  cursor = 0;
  EXPECT_FALSE(ReadScriptLine(widest, cursor).too_many_words);
  cursor = 0;
  const ScriptLine too_wide = ReadScriptLine(widest + "extra", cursor);
  EXPECT_TRUE(too_wide.too_many_words);
  EXPECT_EQ(too_wide.words.size(), kMaxLineWords);
}

TEST(LineEndsTest, BareLineFeedsBecomeCrLf) {
  EXPECT_EQ(NormaliseLineEnds("a\nb\r\nc\rd\n\n"), "a\r\nb\r\nc\rd\r\n\r\n");
  EXPECT_EQ(NormaliseLineEnds(""), "");
}

TEST(LineEndsTest, EachKindOfLineEndIsOneCrLf) {
  struct Case {
    std::string_view text;
    std::string_view normalised;
  };
  const Case cases[] = {
      {"a\r\nb", "a\r\nb"},
      {"a\nb", "a\r\nb"},
      {"a\rb", "a\rb"},
      {"a\n\rb", "a\r\nb"},
      {"a\n\r\n\rb", "a\r\n\r\nb"},
      // Pairs are taken from the left: CR LF then a lone CR, LF CR then a lone LF.
      {"a\r\n\rb", "a\r\n\rb"},
      {"a\n\r\nb", "a\r\n\r\nb"},
      {"\n\r", "\r\n"},
      {"a\n", "a\r\n"},
      {"\r", "\r"},
  };
  for (const Case& c : cases) {
    const std::string once = NormaliseLineEnds(c.text);
    EXPECT_EQ(once, c.normalised) << testing::PrintToString(std::string(c.text));
    EXPECT_EQ(NormaliseLineEnds(once), once) << testing::PrintToString(std::string(c.text));
  }
}

}  // namespace
}  // namespace qp40
