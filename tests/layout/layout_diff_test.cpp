#include "layout/layout_diff.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "keys/board_settings_names.h"

namespace qp40 {
namespace {

Layout Plain() {
  Layout layout;
  for (LayoutProfile& profile : layout.profiles) {
    profile.settings[kSettingBoardType] = kBoardType48Keys;
    for (std::string& key : profile.keys) key = "a";
  }
  layout.macros[5].lines = {"press    20  ", "release    20  "};
  layout.chords = ChordTable{};
  (*layout.chords)[0] = {0x16, 0x07, 0x00, 0x28, 0, 0, 0, 0};
  return layout;
}

TEST(LayoutDiffTest, OneLinePerChangedSettingKeyMacroLineAndChord) {
  const Layout from = Plain();
  EXPECT_TRUE(DiffLayouts(from, from).empty());

  Layout to = from;
  to.profiles[1].settings[kSettingBoardType] = BoardTypeList().Choices()[1].value;
  to.profiles[0].keys[8] = "Ctrl+Shift+q";
  to.profiles[3].keys[47] = "string:\"Hi\"";
  to.macros[5].lines[1] = "release    21  ";
  to.macros[5].lines.push_back("click    20  ");
  to.macros[7].lines = {"click    4  "};
  (*to.chords)[0] = ChordRecord{};
  (*to.chords)[31] = {0x14, 0x1A, 0x00, 0x04, 0, 0, 0, 0};
  EXPECT_EQ(DiffLayouts(from, to),
            (std::vector<std::string>{
                "profile 1, row 2, column 1: a -> Ctrl+Shift+q",
                std::string("profile 2, settings, board: \"48 keys\" -> \"") +
                    BoardTypeList().Choices()[1].name + "\"",
                "profile 4, row 6, column 8: a -> string:\"Hi\"",
                "macro 5, line 2: release    20   -> release    21  ",
                "macro 5, line 3: (none) -> click    20  ",
                "macro 7, line 1: (none) -> click    4  ",
                "chord 1: 1607002800000000 -> (empty)",
                "chord 32: (empty) -> 141A000400000000",
            }));

  // A side without a chord table compares no chords.
  to.chords.reset();
  EXPECT_EQ(DiffLayouts(from, to).size(), 6U);
}

}  // namespace
}  // namespace qp40
