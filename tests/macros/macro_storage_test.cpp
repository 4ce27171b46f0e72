#include "macros/macro_storage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "macros/macro_listing.h"
#include "macros/macro_test_support.h"

namespace qp40 {
namespace {

using Commands = std::vector<std::pair<std::uint8_t, std::uint8_t>>;

constexpr std::string_view kScript = "press a  b  c  20\r\nrelease a  b  c  20\r\n";

class MacroStorageTest : public testing::KeypadFixture {
 protected:
  MacroStorageTest() {
    // Blocks as an erased keypad holds them, so an unwritten block is seen.
    for (int block = 64; block < 128; ++block) {
      std::ranges::fill(keypad.BlockData(static_cast<std::uint8_t>(block)), 0xFF);
    }
  }

  MacroSaveOutcome Save(int macro, std::string_view script) {
    return SaveMacroScript(macro, script, link, env.log, env.notifier);
  }
  MacroLoadOutcome Load(int macro) { return LoadMacroScript(macro, link, env.log, env.notifier); }
};

TEST_F(MacroStorageTest, SavePreparesBothBlocksThenWritesBoth) {
  for (int macro : {0, 31}) {
    const std::size_t first_request = keypad.Requests().size();
    const MacroSaveOutcome saved = Save(macro, kScript);
    EXPECT_EQ(saved.status, MacroSaveStatus::kStored);
    EXPECT_EQ(saved.message, "Save Macro#" + std::to_string(macro) + " to device");
    EXPECT_EQ(saved.failed_pages, 0);
    const auto first = static_cast<std::uint8_t>(64 + 2 * macro);
    const auto second = static_cast<std::uint8_t>(first + 1);
    EXPECT_EQ(CommandsSince(first_request), (Commands{{kCmdPrepareBlock, first},
                                                      {kCmdPrepareBlock, second},
                                                      {kCmdWritePage, first},
                                                      {kCmdWritePage, second}}));
    // A short macro lies in its first block; the second is written as zeros.
    EXPECT_EQ(keypad.BlockData(first)[kRecordCommand], kMacroPress);
    EXPECT_EQ(keypad.BlockData(first)[RecordOffset(1) + kRecordCommand], kMacroRelease);
    EXPECT_TRUE(std::ranges::all_of(keypad.BlockData(second), [](auto b) { return b == 0; }));
  }
}

TEST_F(MacroStorageTest, LoadListsAStoredMacroAndLogsItsBlock) {
  ASSERT_EQ(Save(7, kScript).status, MacroSaveStatus::kStored);
  env.sink.lines.clear();
  const std::size_t first_request = keypad.Requests().size();
  const MacroLoadOutcome loaded = Load(7);
  EXPECT_EQ(loaded.status, MacroLoadStatus::kListed);
  EXPECT_EQ(loaded.listing, "press    a   b   c   20  \r\nrelease    a   b   c   20  \r\n");
  EXPECT_EQ(env.sink.lines, std::vector<std::string>{"iMarco=7, iMacroBlockID=78"});
  EXPECT_EQ(CommandsSince(first_request), (Commands{{kCmdReadPage, 78}, {kCmdReadPage, 79}}));
}

// A macro read as far as it goes gives the listing of both blocks read, and costs the second
// block only when its chain runs into it.
TEST_F(MacroStorageTest, ChainLoadReadsTheSecondBlockOnlyWhenTheMacroGoesOn) {
  std::string long_script;
  for (int line = 0; line < 200; ++line) long_script += "click a\r\n";
  struct Case {
    int macro;
    std::string script;  // empty: never stored
    Commands commands;
  };
  const std::vector<Case> cases = {
      {3, std::string(kScript), {{kCmdReadPage, 70}}},
      {4, long_script, {{kCmdReadPage, 72}, {kCmdReadPage, 73}}},
      {5, "", {{kCmdReadPage, 74}}},
  };
  for (const Case& c : cases) {
    if (!c.script.empty()) {
      ASSERT_EQ(Save(c.macro, c.script).status, MacroSaveStatus::kStored);
    }
    const std::size_t first_request = keypad.Requests().size();
    const std::optional<LoadedMacro> chain = LoadMacroChain(c.macro, link, env.log);
    ASSERT_TRUE(chain);
    EXPECT_EQ(CommandsSince(first_request), c.commands) << c.macro;
    const std::optional<LoadedMacro> whole = LoadMacro(c.macro, link, env.log);
    EXPECT_EQ(ListMacro(chain->buffer), ListMacro(whole->buffer)) << c.macro;
  }
}

TEST_F(MacroStorageTest, MacroNeverStoredIsNotReady) {
  const MacroLoadOutcome loaded = Load(5);
  EXPECT_EQ(loaded.status, MacroLoadStatus::kNotReady);
  EXPECT_EQ(loaded.message, "\r\n Macro No.5 Not Ready !");
  EXPECT_EQ(loaded.listing, "");
}

TEST_F(MacroStorageTest, MacroNumbersOutsideTheMacroAreaSendNothing) {
  for (int macro : {-1, 32, 1000}) {
    const std::size_t requests = keypad.Requests().size();
    EXPECT_EQ(Save(macro, kScript).status, MacroSaveStatus::kBadNumber);
    EXPECT_EQ(Load(macro).status, MacroLoadStatus::kBadNumber);
    EXPECT_FALSE(MacroFirstBlock(macro).has_value());
    EXPECT_EQ(keypad.Requests().size(), requests) << macro;
  }
  EXPECT_EQ(env.notifier.messages.size(), 6u);
  EXPECT_EQ(env.notifier.messages.front(), kBadMacroNumberMessage);
}

TEST_F(MacroStorageTest, ScriptsThatDoNotCompileOrAreTooShortAreNotWritten) {
  ASSERT_EQ(Save(2, kScript).status, MacroSaveStatus::kStored);
  const std::vector<std::uint8_t> before(keypad.BlockData(68).begin(), keypad.BlockData(68).end());
  const std::size_t requests = keypad.Requests().size();

  EXPECT_EQ(Save(2, "press a 20\r\nPress b 20\r\n").status, MacroSaveStatus::kNotCompiled);
  EXPECT_EQ(Save(2, "press " + std::string(60, 'x') + " 20\r\n").status,
            MacroSaveStatus::kNotCompiled);
  EXPECT_EQ(Save(2, "delay 2\r\n").status, MacroSaveStatus::kTooShort);
  EXPECT_EQ(keypad.Requests().size(), requests);
  EXPECT_TRUE(std::ranges::equal(keypad.BlockData(68), before));
  EXPECT_EQ(env.notifier.messages.back(), "ERROR: Wrong Script !");

  // Ten characters once the line feed is counted as CR LF.
  EXPECT_EQ(Save(2, "delay 20\n").status, MacroSaveStatus::kStored);
}

TEST_F(MacroStorageTest, SaveHandsOnTheCompilersProblems) {
  const MacroSaveOutcome repaired = Save(4, "press a 20\r\njump 1 20\r\n");
  EXPECT_EQ(repaired.status, MacroSaveStatus::kStored);
  ASSERT_EQ(repaired.problems.size(), 1u);
  EXPECT_EQ(repaired.problems[0].kind, ScriptProblemKind::kJumpRepaired);

  const MacroSaveOutcome unknown = Save(4, "press a 20\r\nPress b 20\r\n");
  EXPECT_EQ(unknown.status, MacroSaveStatus::kNotCompiled);
  ASSERT_EQ(unknown.problems.size(), 1u);
  EXPECT_EQ(unknown.problems[0].word, "Press");

  EXPECT_TRUE(Save(4, kScript).problems.empty());
}

TEST_F(MacroStorageTest, UnreadPagesAreCountedAndLeftZero) {
  ASSERT_EQ(Save(1, kScript).status, MacroSaveStatus::kStored);
  FailNextPage();
  const MacroLoadOutcome loaded = Load(1);
  EXPECT_EQ(loaded.failed_pages, 1);
  // The first page held both records; without it the macro reads as never stored.
  EXPECT_EQ(loaded.status, MacroLoadStatus::kNotReady);
}

}  // namespace
}  // namespace qp40
