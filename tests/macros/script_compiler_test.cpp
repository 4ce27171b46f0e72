#include "macros/script_compiler.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "macros/macro_listing.h"
#include "model/model_test_support.h"

namespace qp40 {

// Found by the test framework next to the type, for readable failures.
void PrintTo(const ScriptProblem& problem, std::ostream* out) {
  *out << "{kind " << static_cast<int>(problem.kind) << ", line " << problem.line << ", word \""
       << problem.word << "\", \"" << problem.text << "\"}";
}

namespace {

using Record = std::array<std::uint8_t, kMacroRecordSize>;

Record RecordOf(const MacroBuffer& buffer, std::size_t index) {
  Record record;
  std::copy_n(buffer.begin() + static_cast<std::ptrdiff_t>(RecordOffset(index)), record.size(),
              record.begin());
  return record;
}

std::string Repeat(std::string_view line, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) {
    text += line;
  }
  return text;
}

// The examples of the macro editor's help text, one per line.
constexpr std::string_view kHelpExamples =
    "press a  b  c  20\r\n"
    "press M_Left -20 -30 100\r\n"
    "jump 01 20\r\n"
    "string 04 30\r\n"
    "delay 200\r\n";

class ScriptCompilerTest : public ::testing::Test {
 protected:
  CompileResult Compile(std::string_view script, std::uint8_t macro = 3) {
    return CompileScript(script, macro, env.log, env.notifier);
  }
  testing::Surroundings env;
};

TEST_F(ScriptCompilerTest, HelpExamplesCompileToTheirRecords) {
  const CompileResult result = Compile(kHelpExamples);
  ASSERT_EQ(result.status, CompileStatus::kCompiled);
  EXPECT_EQ(result.records, 5u);
  const Record expected[] = {
      {1, 0x80, 0x04, 0x05, 0x06, 0, 0, 0, 0, 0, 0, 0, 4, 0, 1, 3},
      {2, 0x80, 0xF1, 0xEC, 0xE2, 0, 0, 0, 0, 0, 0, 0, 20, 0, 2, 3},
      {3, 0x73, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4, 0, 3, 3},
      {4, 0xB4, 0x04, 0, 0, 0, 0, 0, 0, 0, 0, 0, 6, 0, 4, 3},
      // The last record ends the chain.
      {5, 0x74, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 40, 0, 0, 0},
  };
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_EQ(RecordOf(result.buffer, i), expected[i]) << "record " << i;
  }
  EXPECT_EQ(RecordOf(result.buffer, 5), Record{});
  EXPECT_TRUE(env.notifier.messages.empty());
}

TEST_F(ScriptCompilerTest, HelpExamplesListBackAndCompileAgainToTheSameBuffer) {
  const CompileResult first = Compile(kHelpExamples);
  const std::optional<std::string> listing = ListMacro(first.buffer);
  ASSERT_TRUE(listing.has_value());
  EXPECT_EQ(*listing,
            "press    a   b   c   20  \r\n"
            "press    M_Left   236   226   100  \r\n"
            "jump    001    20  \r\n"
            "string    4    30  \r\n"
            "delay    200  \r\n");
  EXPECT_EQ(Compile(*listing).buffer, first.buffer);
}

TEST_F(ScriptCompilerTest, EveryLineCountsAndOnlyLinesEndedByABreakAreStored) {
  // Blank and one-word lines take line numbers; "00" lines are dropped.
  const CompileResult numbered = Compile("press a 20\r\n\r\npause\r\n00 a 20\r\njump 01 20\r\n");
  EXPECT_EQ(numbered.records, 2u);
  EXPECT_EQ(numbered.buffer[RecordOffset(1) + kRecordLine], 5);
  EXPECT_EQ(numbered.buffer[RecordOffset(0) + kRecordNext], 1);

  const CompileResult unterminated = Compile("press a 20\r\npress b 20");
  EXPECT_EQ(unterminated.status, CompileStatus::kCompiled);
  EXPECT_EQ(unterminated.records, 1u);
  EXPECT_EQ(unterminated.buffer[RecordOffset(0) + kRecordNext], 0);
  EXPECT_EQ(unterminated.buffer[RecordOffset(0) + kRecordMacro], 0);

  const CompileResult no_break = Compile("press a 20");
  EXPECT_EQ(no_break.buffer, MacroBuffer{});
  EXPECT_FALSE(ListMacro(no_break.buffer).has_value());
}

TEST_F(ScriptCompilerTest, LinuxLineEndsCompileLikeCrLf) {
  const std::string unix_text =
      "press a  b  c  20\npress M_Left -20 -30 100\njump 01 20\n"
      "string 04 30\ndelay 200\n";
  EXPECT_EQ(Compile(unix_text).buffer, Compile(kHelpExamples).buffer);
}

TEST_F(ScriptCompilerTest, LfCrLineEndsKeepLineNumbersAndJumpTargets) {
  // A jump to line 3 stays only while the lines are numbered one per line end.
  const std::string_view crlf = "press a 20\r\n\r\njump 03 20\r\n";
  const std::string_view lfcr = "press a 20\n\r\n\rjump 03 20\n\r";
  const CompileResult expected = Compile(crlf);
  const CompileResult result = Compile(lfcr);
  EXPECT_EQ(result.buffer, expected.buffer);
  EXPECT_EQ(result.buffer[RecordOffset(1) + kRecordLine], 3);
  EXPECT_EQ(result.buffer[RecordOffset(1) + kRecordParameters], 3);
  EXPECT_TRUE(result.problems.empty());
}

TEST_F(ScriptCompilerTest, JumpTargetsReachTheLastLineACommandMayStandOn) {
  const std::string blank = "\r\n";
  struct Case {
    std::string script;
    std::uint8_t target;  // after the check
  };
  const Case cases[] = {
      // Trailing blank lines count up to line 254, not beyond, and never wrap around.
      {"jump 254 20\r\n" + Repeat(blank, 252), 254},
      {"jump 254 20\r\n" + Repeat(blank, 251), 1},
      {"jump 254 20\r\n" + Repeat(blank, 300), 254},
      {"jump 255 20\r\n" + Repeat(blank, 300), 1},
      // Line 255 holds no command: a jump there is repaired even when the script reaches it.
      {"jump 255 20\r\n" + Repeat(blank, 253), 1},
  };
  for (const Case& c : cases) {
    const CompileResult result = CompileScript(c.script, 3);
    EXPECT_EQ(result.status, CompileStatus::kCompiled);
    EXPECT_EQ(result.buffer[RecordOffset(0) + kRecordParameters], c.target)
        << c.script.substr(0, 10) << " and " << (c.script.size() - 13) / 2 << " blank lines";
  }
}

TEST_F(ScriptCompilerTest, UnknownFirstWordStopsWithLogLineAndMessage) {
  const CompileResult result = Compile("press a 20\r\nPress b 20\r\npress c 20\r\n");
  EXPECT_EQ(result.status, CompileStatus::kUnknownWord);
  EXPECT_EQ(result.records, 1u);
  EXPECT_EQ(env.sink.lines, std::vector<std::string>{"Error1: can't identify the word, Press "});
  EXPECT_EQ(env.notifier.messages, std::vector<std::string>{"ERROR: Create Macro Script !"});

  // The last line is checked even though it is not stored.
  EXPECT_EQ(Compile("press a 20\r\nbogus 20").status, CompileStatus::kUnknownWord);
}

TEST_F(ScriptCompilerTest, JumpsBeyondTheScriptGoToLineOne) {
  // "1" is the digit key 0x1E, far beyond a three-line script.
  const CompileResult repaired = Compile("press a 20\r\njump 1 20\r\n");
  EXPECT_EQ(repaired.buffer[RecordOffset(1) + kRecordParameters], 1);
  EXPECT_EQ(env.sink.lines,
            std::vector<std::string>{">> Error: Macro command = jump, first parameter wrong!  "
                                     "and replaced by new number, 01."});

  env.sink.lines.clear();
  // Three lines counting the empty text after the last break: a jump to 03 stays.
  const CompileResult kept = Compile("press a 20\r\njump 03 20\r\n");
  EXPECT_EQ(kept.buffer[RecordOffset(1) + kRecordParameters], 3);
  EXPECT_TRUE(env.sink.lines.empty());
}

TEST_F(ScriptCompilerTest, ScriptsBeyondTheLimitsAreRefusedWhole) {
  std::string many_lines;
  for (int i = 0; i < 256; ++i) {
    many_lines += "press a 20\r\n";
  }
  struct Case {
    std::string script;
    std::string line;
  };
  const Case cases[] = {
      {"press a 20\r\npress " + std::string(60, 'x') + " 20\r\n",
       ">> ERROR: Macro script line 2 has a word of more than 59 characters !"},
      {"press a 20\r\npress a b c d e f g h i j k l m n o 20\r\n",
       ">> ERROR: Macro script line 2 has more than 16 words !"},
      {many_lines, ">> ERROR: Macro script has more than 255 lines !"},
  };
  for (const Case& c : cases) {
    env.sink.lines.clear();
    env.notifier.messages.clear();
    const CompileResult result = Compile(c.script);
    EXPECT_EQ(result.status, CompileStatus::kRefused) << c.line;
    EXPECT_EQ(result.buffer, MacroBuffer{}) << c.line;
    EXPECT_EQ(env.sink.lines, std::vector<std::string>{c.line});
    EXPECT_EQ(env.notifier.messages, std::vector<std::string>{c.line.substr(3)});
  }
}

TEST_F(ScriptCompilerTest, ProblemsCarryTheirKindLineAndWord) {
  std::string many_lines;
  for (int i = 0; i < 256; ++i) {
    many_lines += "press a 20\r\n";
  }
  const std::string jump_line =
      ">> Error: Macro command = jump, first parameter wrong!  and replaced by new number, 01.";
  using Kind = ScriptProblemKind;
  struct Case {
    std::string script;
    CompileStatus status;
    std::vector<ScriptProblem> problems;
  };
  const Case cases[] = {
      {std::string(kHelpExamples), CompileStatus::kCompiled, {}},
      {"press a 20\r\nPress b 20\r\npress c 20\r\n",
       CompileStatus::kUnknownWord,
       {{Kind::kUnknownWord, 2, "Press", "Error1: can't identify the word, Press "}}},
      // The text after the last break is checked too, on its own line number.
      {"press a 20\r\n\r\nbogus 20",
       CompileStatus::kUnknownWord,
       {{Kind::kUnknownWord, 3, "bogus", "Error1: can't identify the word, bogus "}}},
      {"press a 20\r\npress " + std::string(60, 'x') + " 20\r\n",
       CompileStatus::kRefused,
       {{Kind::kWordTooLong, 2, std::string(59, 'x'),
         ">> ERROR: Macro script line 2 has a word of more than 59 characters !"}}},
      {"press a 20\r\npress a b c d e f g h i j k l m n o 20\r\n",
       CompileStatus::kRefused,
       {{Kind::kTooManyWords, 2, "", ">> ERROR: Macro script line 2 has more than 16 words !"}}},
      {many_lines,
       CompileStatus::kRefused,
       {{Kind::kTooManyLines, 255, "", ">> ERROR: Macro script has more than 255 lines !"}}},
      // A repaired jump is a problem of a script that still compiles.
      {"press a 20\r\njump 1 20\r\n",
       CompileStatus::kCompiled,
       {{Kind::kJumpRepaired, 2, "", jump_line}}},
      // Jumps are repaired in the lines before an unknown word as well, after it is found.
      {"jump 1 20\r\njump 1 20\r\nbogus a 20\r\n",
       CompileStatus::kUnknownWord,
       {{Kind::kUnknownWord, 3, "bogus", "Error1: can't identify the word, bogus "},
        {Kind::kJumpRepaired, 1, "", jump_line},
        {Kind::kJumpRepaired, 2, "", jump_line}}},
  };
  for (const Case& c : cases) {
    const CompileResult result = CompileScript(c.script, 3);
    EXPECT_EQ(result.status, c.status) << c.script.substr(0, 40);
    EXPECT_EQ(result.problems, c.problems) << c.script.substr(0, 40);
  }
  // Checking a script tells the user nothing; only the compile that reports does.
  EXPECT_TRUE(env.sink.lines.empty());
  EXPECT_TRUE(env.notifier.messages.empty());
}

TEST_F(ScriptCompilerTest, ReportedProblemsAreLoggedInTheOrderFound) {
  const CompileResult result = Compile("jump 1 20\r\nbogus a 20\r\n");
  ASSERT_EQ(result.problems.size(), 2u);
  EXPECT_EQ(env.sink.lines,
            (std::vector<std::string>{result.problems[0].text, result.problems[1].text}));
  EXPECT_EQ(env.notifier.messages, std::vector<std::string>{std::string(kCreateScriptError)});
}

TEST_F(ScriptCompilerTest, TwoHundredFiftyFourCommandsAndTrailingBlankLinesCompile) {
  const CompileResult result = Compile(Repeat("press a 20\r\n", 254) + "\r\n\r\n");
  EXPECT_EQ(result.status, CompileStatus::kCompiled);
  EXPECT_EQ(result.records, 254u);
  EXPECT_EQ(result.buffer[RecordOffset(252) + kRecordNext], 253);
  // The last record ends the chain rather than pointing at itself.
  EXPECT_EQ(result.buffer[RecordOffset(253) + kRecordNext], 0);
  EXPECT_EQ(result.buffer[RecordOffset(253) + kRecordLine], 254);
}

TEST_F(ScriptCompilerTest, NoCommandMayStandOnTheFreeRecordLine) {
  const std::string blank = "\r\n";
  const std::string command = "press a 20\r\n";
  struct Case {
    std::string script;
    CompileStatus status;
    std::size_t records;
  };
  const Case cases[] = {
      {Repeat(blank, 253) + command, CompileStatus::kCompiled, 1},
      {Repeat(command, 254) + blank, CompileStatus::kCompiled, 254},
      {Repeat(blank, 255), CompileStatus::kCompiled, 0},
      // Line 255 would carry the line byte 0xFF: refused, also as the script's only command,
      // and also as the unstored text after the last break.
      {Repeat(blank, 254) + command, CompileStatus::kRefused, 0},
      {Repeat(command, 254) + command, CompileStatus::kRefused, 0},
      {Repeat(command, 254) + "press a 20", CompileStatus::kRefused, 0},
      {Repeat(blank, 254) + "pause", CompileStatus::kRefused, 0},
  };
  for (const Case& c : cases) {
    env.sink.lines.clear();
    env.notifier.messages.clear();
    const std::string tail = c.script.substr(c.script.size() - 12);
    const CompileResult result = Compile(c.script);
    EXPECT_EQ(result.status, c.status) << tail;
    EXPECT_EQ(result.records, c.records) << tail;
    if (c.status == CompileStatus::kRefused) {
      EXPECT_EQ(result.buffer, MacroBuffer{}) << tail;
      EXPECT_EQ(result.problems,
                (std::vector<ScriptProblem>{{ScriptProblemKind::kTooManyLines, 255, "",
                                             ">> ERROR: Macro script has more than 255 lines !"}}))
          << tail;
      EXPECT_EQ(env.notifier.messages,
                std::vector<std::string>{"ERROR: Macro script has more than 255 lines !"});
    } else {
      EXPECT_TRUE(result.problems.empty()) << tail;
      EXPECT_TRUE(env.notifier.messages.empty()) << tail;
    }
  }
}

}  // namespace
}  // namespace qp40
