#include "editing/screen_keyboard.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace qp40 {
namespace {

TEST(ScreenKeyboardTest, EveryButtonHasItsOwnIdAndFitsTheWindow) {
  std::set<int> ids;
  int shown = 0;
  for (const ScreenKeyboardButton& button : ScreenKeyboardButtons()) {
    EXPECT_TRUE(ids.insert(button.id).second) << button.id;
    EXPECT_GE(button.x, 0) << button.id;
    EXPECT_LE(button.x + button.width, 397) << button.id;
    EXPECT_LE(button.y + button.height, 245) << button.id;
    if (!button.hidden) ++shown;
  }
  // 110 keys of the picture, 21 media keys, 2 tools and 9 mouse buttons.
  EXPECT_EQ(shown, 142);
}

TEST(ScreenKeyboardTest, ButtonsPickTheirNamesAndPositions) {
  struct Case {
    int id;
    PickKind kind;
    std::string name;
    int position;
  };
  const Case cases[] = {
      {3152, PickKind::kScreenKey, "q", 38},  {3205, PickKind::kScreenKey, "Ctrl", 91},
      {3241, PickKind::kMedia, "Volume+", 6}, {3235, PickKind::kMedia, ">>|", 0},
      {3263, PickKind::kTool, "Profile", 0},  {3269, PickKind::kTool, "Reboot", 204},
      {3226, PickKind::kMouse, "M_Left", 0},  {3234, PickKind::kMouse, "M_Wheel", 8},
  };
  for (const Case& c : cases) {
    const std::optional<ScreenKeyPick> pick = PickOfButton(c.id);
    ASSERT_TRUE(pick) << c.id;
    EXPECT_EQ(pick->kind, c.kind) << c.id;
    EXPECT_EQ(pick->name, c.name) << c.id;
    EXPECT_EQ(pick->position, c.position) << c.id;
    EXPECT_EQ(pick->media_code.has_value(), c.kind == PickKind::kMedia) << c.id;
  }
  EXPECT_EQ(PickOfButton(3255), std::nullopt);  // hidden "Layer1Up"
  EXPECT_EQ(PickOfButton(1), std::nullopt);
}

TEST(ScreenKeyboardTest, ChordAndMacroEditorFieldRules) {
  EXPECT_EQ(ChordPickField(1125), 1125);
  EXPECT_EQ(ChordPickField(1143), 1143);
  EXPECT_EQ(ChordPickField(1128), kChordDefaultPickField);
  EXPECT_EQ(ChordPickField(1), kChordDefaultPickField);

  const ScreenKeyPick a = *PickOfButton(3171);
  EXPECT_EQ(MacroEditorPick(1124, "x", a)->text, "a");
  EXPECT_EQ(MacroEditorPick(1125, "x", a)->text, "a");
  EXPECT_EQ(MacroEditorPick(1126, "press ", a)->text, "press a");
  EXPECT_EQ(MacroEditorPick(1127, "x", a), std::nullopt);
}

}  // namespace
}  // namespace qp40
