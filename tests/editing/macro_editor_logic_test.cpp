// The macro editor's window-free rules: script file bytes, the live check and word colours.
#include "editing/macro_editor_logic.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qp40 {
namespace {

TEST(MacroScriptFileTest, FilesHoldCrLfAndLoadUpToTheFirstNul) {
  struct Case {
    std::string pane;
    std::string file;
  };
  for (const Case& c : std::vector<Case>{
           {"a 20\nb 30\n", "a 20\r\nb 30\r\n"},
           {"a 20\r\nb 30", "a 20\r\nb 30"},
           {"\xE9 20\n\n", "\xE9 20\r\n\r\n"},
           {"", ""},
       }) {
    SCOPED_TRACE(c.pane);
    EXPECT_EQ(ScriptFileBytes(c.pane), c.file);
    EXPECT_EQ(ScriptFileBytes(PaneTextFromFile(c.file)), c.file);
  }
  EXPECT_EQ(PaneTextFromFile(std::string("a 20\nb", 6) + std::string(1, '\0') + "c 30\n"),
            "a 20\r\nb");
}

TEST(MacroScriptCheckTest, CountsCommandsAndNamesTheFirstProblem) {
  struct Case {
    std::string script;
    std::size_t commands;
    bool over_limit;
    std::string problem;
  };
  std::string full;
  for (int line = 0; line < 254; ++line) full += "delay 20\r\n";
  for (const Case& c : std::vector<Case>{
           {"press a 20\r\ndelay 200\r\n", 2, false, ""},
           {"press a 20\r\n\r\nbogus b 20\r\n", 2, false, "Line 3, \"bogus\": no command word"},
           {"press " + std::string(60, 'x') + " 20\r\n", 1, false, "Line 1, \""},
           {full, 254, false, ""},
           {full + "delay 20\r\n", 255, true, "Line 255: past the last line"},
       }) {
    SCOPED_TRACE(c.script.substr(0, 30));
    const ScriptCheck check = CheckScript(c.script);
    EXPECT_EQ(check.commands, c.commands);
    EXPECT_EQ(check.over_limit, c.over_limit);
    const std::string problem = ProblemText(check);
    EXPECT_EQ(problem.substr(0, c.problem.size()), c.problem);
    EXPECT_EQ(problem.empty(), c.problem.empty());
  }
  EXPECT_EQ(CommandCountText(CheckScript("press a 20\r\n")), "1 of 255 commands");
}

TEST(MacroScriptColoursTest, WordsAreCommandsKeyNamesNumbersOrUnknown) {
  using enum ScriptWordKind;
  EXPECT_EQ(ClassifyScriptLine("press  a -20 zork"),
            (std::vector<ScriptWord>{
                {0, 5, kCommand}, {7, 1, kKeyName}, {9, 3, kNumber}, {13, 4, kUnknown}}));
  EXPECT_EQ(ClassifyScriptLine(" zork 20"),
            (std::vector<ScriptWord>{{1, 4, kUnknown}, {6, 2, kNumber}}));
  EXPECT_TRUE(ClassifyScriptLine("   ").empty());
}

}  // namespace
}  // namespace qp40
