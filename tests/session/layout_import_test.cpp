// A layout put into a session: only what differs changes, problems change nothing, and the
// macros that differ wait for the save.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "editing/key_edits.h"
#include "layout/layout_file.h"
#include "macros/script_compiler.h"
#include "session/keypad_session.h"
#include "session/session_fixture.h"

namespace qp40 {
namespace {

using Strings = std::vector<std::string>;

MacroBuffer Compiled(std::string_view script, std::uint8_t macro) {
  const CompileResult compiled = CompileScript(script, macro);
  EXPECT_EQ(compiled.status, CompileStatus::kCompiled);
  return compiled.buffer;
}

class LayoutImportTest : public testing::SessionFixture {
 protected:
  LayoutImportTest() {
    EXPECT_EQ(session.Load().status, SessionStatus::kDone);
    EXPECT_EQ(session.ApplyKeyEdit(0, TextEdit(KeypadTextKind::kString, "Hello", 0)).status,
              SessionStatus::kDone);
    EXPECT_EQ(session.ApplyKeyEdit(1, TextEdit(KeypadTextKind::kBurst, "abc", 0)).status,
              SessionStatus::kDone);
    EXPECT_EQ(session.Save().status, SessionStatus::kDone);
    keypad_macros[5] = Compiled("press a 20\r\nrelease a 20\r\n", 5);
  }

  LayoutImportResult Import(const Layout& layout, LayoutImportScope scope = {}) {
    if (scope.keypad_macros == nullptr && !scope.profile) scope.keypad_macros = &keypad_macros;
    return session.ImportLayout(layout, scope);
  }

  std::map<int, MacroBuffer> keypad_macros;
};

TEST_F(LayoutImportTest, TheSessionsOwnLayoutChangesNothing) {
  const Configuration before = config;
  const LayoutImportResult result = Import(session.CurrentLayout(keypad_macros));
  EXPECT_EQ(result.status, SessionStatus::kDone);
  EXPECT_EQ(result.changes, Strings{});
  EXPECT_EQ(result.macros, std::vector<int>{});
  EXPECT_EQ(config, before);
  EXPECT_TRUE(session.PendingMacros().empty());
}

TEST_F(LayoutImportTest, ChangedKeysTextsSettingsAndMacrosGoInAndNothingElse) {
  Layout layout = session.CurrentLayout(keypad_macros);
  layout.profiles[0].keys[0] = "string:\"World, again\"";
  layout.profiles[0].keys[2] = "Ctrl+Shift+q";
  layout.profiles[2].keys[8] = "burst:\"xyz\"";
  layout.profiles[3].settings[kSettingTyping] = 4;
  layout.macros[5].lines = {"press    b   20  ", "release    b   20  "};
  // Written otherwise than the keypad lists it, but the same bytes: not a change.
  layout.macros[6].lines = {"press a 20", "release a 20"};
  keypad_macros[6] = Compiled("press a 20\r\nrelease a 20\r\n", 6);

  const LayoutImportResult result = Import(layout);
  ASSERT_EQ(result.status, SessionStatus::kDone) << ::testing::PrintToString(result.problems);
  EXPECT_EQ(result.changes,
            (Strings{"profile 1, row 1, column 1: string:\"Hello\" -> string:\"World, again\"",
                     "profile 1, row 1, column 3: 2 -> Ctrl+Shift+q",
                     "profile 3, row 2, column 1: Tab -> burst:\"xyz\"",
                     "profile 4, settings, typing: false -> true",
                     "macro 5, line 1: press    a   20   -> press    b   20  ",
                     "macro 5, line 2: release    a   20   -> release    b   20  "}));
  EXPECT_EQ(result.macros, std::vector<int>{5});
  EXPECT_EQ(session.CurrentLayout(keypad_macros).profiles, layout.profiles);
  // The old string's units went back to the table: only the new one is in use.
  EXPECT_EQ(session.KeyText(WorkingRecord(config.working_profile, 0)), "World, again");

  const SaveResult saved = session.Save();
  EXPECT_EQ(saved.status, SessionStatus::kDone);
  EXPECT_EQ(saved.macros_written, std::vector<int>{5});
  EXPECT_TRUE(session.PendingMacros().empty());
  EXPECT_EQ(session.LoadMacroBuffer(5)->buffer, *LayoutMacroBuffer(5, layout.macros[5]));
}

TEST_F(LayoutImportTest, OneProfileLeavesTheOthersAndTheMacrosAlone) {
  Layout layout = session.CurrentLayout(keypad_macros);
  layout.profiles[0].keys[3] = "Enter";
  layout.profiles[1].keys[3] = "Enter";
  layout.macros[5].lines = {"press    b   20  "};
  LayoutImportScope scope;
  scope.profile = 1;
  const LayoutImportResult result = Import(layout, scope);
  ASSERT_EQ(result.status, SessionStatus::kDone);
  EXPECT_EQ(result.changes, Strings{"profile 2, row 1, column 4: 3 -> Enter"});
  EXPECT_TRUE(session.PendingMacros().empty());
}

TEST_F(LayoutImportTest, MacrosOnlyLeaveEveryKeySettingAndChordAlone) {
  const Configuration before = config;
  Layout layout = session.CurrentLayout(keypad_macros);
  layout.profiles[0].keys[3] = "Enter";
  layout.profiles[3].settings[kSettingTyping] = 4;
  layout.chords = ChordTable{};
  (*layout.chords)[1] = {0x16, 0x07, 0, 0x28, 0, 0, 0, 0};
  layout.macros[5].lines = {"press    b   20  ", "release    b   20  "};
  LayoutImportScope scope;
  scope.keys = false;
  const LayoutImportResult result = Import(layout, scope);
  ASSERT_EQ(result.status, SessionStatus::kDone) << ::testing::PrintToString(result.problems);
  EXPECT_EQ(result.changes,
            (Strings{"macro 5, line 1: press    a   20   -> press    b   20  ",
                     "macro 5, line 2: release    a   20   -> release    b   20  "}));
  EXPECT_EQ(result.macros, std::vector<int>{5});
  EXPECT_EQ(config, before);
  EXPECT_EQ(session.Chords(), ChordTable{});
  EXPECT_EQ(session.PendingMacros().count(5), 1U);
}

TEST_F(LayoutImportTest, ADryRunWorksEverythingOutAndChangesNothing) {
  Layout layout = session.CurrentLayout(keypad_macros);
  layout.profiles[0].keys[0] = "string:\"Something else\"";
  layout.macros[9].lines = {"press    b   20  "};
  const Configuration before = config;
  LayoutImportScope scope;
  scope.dry_run = true;
  const LayoutImportResult result = Import(layout, scope);
  EXPECT_EQ(result.status, SessionStatus::kDone);
  EXPECT_EQ(result.changes.size(), 2U);
  EXPECT_EQ(result.macros, std::vector<int>{9});
  EXPECT_EQ(config, before);
  EXPECT_TRUE(session.PendingMacros().empty());
}

TEST_F(LayoutImportTest, TextsWithoutRoomAreAllListedAndNothingChanges) {
  Layout layout = session.CurrentLayout(keypad_macros);
  // 48 keys of 60 characters each need far more units than the table has.
  for (std::size_t profile = 0; profile < kProfileCount; ++profile) {
    for (std::size_t key = 0; key < kGridKeyCount; ++key) {
      layout.profiles[profile].keys[key] =
          "string:\"" + std::string(60, static_cast<char>('a' + key % 26)) + "\"";
    }
  }
  layout.chords = ChordTable{};
  (*layout.chords)[0] = {0x16, 0x07, 0, 0x28, 0, 0, 0, 0};
  const Configuration before = config;
  const LayoutImportResult result = Import(layout);
  EXPECT_EQ(result.status, SessionStatus::kRefused);
  EXPECT_GT(result.problems.size(), 1U);
  EXPECT_EQ(result.problems.back().rfind("profile 4, row 6, column 8: ", 0), 0U)
      << result.problems.back();
  EXPECT_EQ(config, before);
  EXPECT_EQ(session.Chords(), ChordTable{});
  EXPECT_TRUE(env.notifier.messages.empty());
}

TEST_F(LayoutImportTest, TextsMovedBetweenKeysNeedNoMoreRoomThanTheyHold) {
  // Fill the string table with long strings, then swap two of them: each new text is stored only
  // after the replaced ones were freed.
  Layout layout = session.CurrentLayout(keypad_macros);
  std::size_t filled = 0;
  for (std::size_t key = 2; key < kGridKeyCount; ++key) {
    const KeyEditResult edit = session.ApplyKeyEdit(
        key,
        TextEdit(KeypadTextKind::kString, std::string(100, static_cast<char>('a' + key % 26)), 0));
    if (edit.status != SessionStatus::kDone) break;
    filled = key;
  }
  env.notifier.messages.clear();
  ASSERT_GT(filled, 3U);
  layout = session.CurrentLayout(keypad_macros);
  std::swap(layout.profiles[0].keys[2], layout.profiles[0].keys[3]);
  const LayoutImportResult result = Import(layout);
  EXPECT_EQ(result.status, SessionStatus::kDone) << ::testing::PrintToString(result.problems);
  EXPECT_EQ(session.CurrentLayout(keypad_macros).profiles[0].keys, layout.profiles[0].keys);
}

TEST_F(LayoutImportTest, TheFilesChordsGoIntoTheChordTable) {
  Layout layout = session.CurrentLayout(keypad_macros);
  layout.chords = ChordTable{};
  (*layout.chords)[1] = {0x16, 0x07, 0, 0x28, 0, 0, 0, 0};
  const LayoutImportResult result = Import(layout);
  EXPECT_EQ(result.changes, Strings{"chord 2: (empty) -> 1607002800000000"});
  EXPECT_EQ(session.Chords(), *layout.chords);
}

}  // namespace
}  // namespace qp40
