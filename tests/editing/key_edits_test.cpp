#include "editing/key_edits.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "editing/key_attribute_logic.h"

namespace qp40 {
namespace {

// Each edit built from values is the edit the key dialog's OK gives for the same choices, made
// on a key that had no action.
TEST(KeyEditsTest, EachTypeGivesTheEditOfTheKeyDialog) {
  struct Case {
    const char* what;
    KeyEdit built;
    int type;
    std::vector<std::pair<int, std::string>> fields;
    std::vector<int> checked;
    int stop_mode = 2;
  };
  const std::vector<Case> cases = {
      {"key", KeyboardEdit(0x28), kTypeKeyboard, {{kIdKeyName1, "Enter"}}, {}},
      {"modifier key", KeyboardEdit(0xE1), kTypeKeyboard, {{kIdKeyName1, "Shift"}}, {}},
      {"profile switch", KeyboardEdit(0xEC), kTypeKeyboard, {{kIdKeyCode1, "236"}}, {}},
      {"media", MediaEdit(6), kTypeMultimedia, {{kIdKeyCode1, "6"}}, {}},
      {"mouse",
       MouseEdit(MouseButtonByteOfName("M_Right"), 5, -5),
       kTypeMouse,
       {{kIdKeyName1, "M_Right"}, {kIdKeyName2, "5"}, {kIdKeyName3, "-5"}},
       {}},
      {"mouse move",
       MouseEdit(MouseButtonByteOfName("Move"), -127, 127),
       kTypeMouse,
       {{kIdKeyName1, "Move"}, {kIdKeyName2, "-127"}, {kIdKeyName3, "127"}},
       {}},
      {"shortcut",
       ShortcutEdit(kModifierCtrl | kModifierAlt, 0x06, 0x19),
       kTypeShortcut,
       {{kIdKeyName2, "c"}, {kIdKeyName3, "v"}},
       {kIdKeyCtrl, kIdKeyAlt}},
      {"burst",
       TextEdit(KeypadTextKind::kBurst, "DIMLINEAR", kModifierShift),
       kTypeBurst,
       {{kIdKeyName1, "DIMLINEAR"}},
       {kIdKeyShift}},
      {"string",
       TextEdit(KeypadTextKind::kString, "Hello, caf\xC3\xA9", kModifierWin),
       kTypeString,
       {{kIdKeyName1, "Hello, caf\xC3\xA9"}},
       {kIdKeyWin}},
      {"macro", MacroEdit(5, 0), kTypeMacro, {{kIdKeyName1, "5"}}, {}, 0},
      {"tool", ToolEdit(0xE9), kTypeTool, {{kIdKeyCode1, "233"}}, {}},
      {"disabled", DisabledEdit(), kTypeDisabled, {}, {}},
  };
  const Configuration config;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EditingSession editing;
    KeyAttributeLogic dialog(editing, config);
    dialog.SetForm(DecodeKeyAction({kActionDisabled, 0, 0, 0}));
    dialog.Open();
    dialog.SelectType(c.type);
    for (const int box : c.checked) dialog.SetChecked(box, true);
    for (const auto& [id, text] : c.fields) dialog.EditField(id, text);
    dialog.SelectStopMode(c.stop_mode);
    ASSERT_EQ(dialog.Confirm(), KeyAttributeLogic::ConfirmOutcome::kStore);
    const std::optional<KeyEdit> from_dialog = dialog.Edit();
    ASSERT_TRUE(from_dialog);
    EXPECT_EQ(c.built.record, from_dialog->record);
    ASSERT_EQ(c.built.text.has_value(), from_dialog->text.has_value());
    if (c.built.text) {
      EXPECT_EQ(c.built.text->kind, from_dialog->text->kind);
      EXPECT_EQ(c.built.text->bytes, from_dialog->text->bytes);
      EXPECT_EQ(c.built.text->unstored, from_dialog->text->unstored);
    }
  }
}

}  // namespace
}  // namespace qp40
