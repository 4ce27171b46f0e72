#include "editing/key_attribute_logic.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editing/key_attribute_help.h"
#include "macros/burst_store.h"
#include "macros/string_store.h"
#include "session/session_fixture.h"

namespace qp40 {
namespace {

using Outcome = KeyAttributeLogic::ConfirmOutcome;
using Record = KeyActionRecord;

// The key dialog's logic on key 11 of a session whose burst and string tables are free, on the
// virtual keypad (chained strings); OK applies its edit to the key, as the window does.
class KeyAttributeLogicTest : public testing::SessionFixture {
 protected:
  KeyAttributeLogicTest() {
    config.burst_table.fill(kFreeBurstEntry);
    config.string_unit_table.fill(0);
  }

  // Opens a fresh dialog on `record`, as a key click does.
  KeyAttributeLogic& Open(const Record& record) {
    SetWorkingRecord(config.working_profile, 0, record);
    logic = std::make_unique<KeyAttributeLogic>(editing, config);
    logic->SetHeading("Key11 (row 1,col 1) ");
    logic->SetForm(DecodeKeyAction(record), session.KeyText(record).value_or(std::string()));
    logic->Open();
    return *logic;
  }

  // OK: confirms, and applies the edit to the key; the dialog stays open when that fails.
  Outcome Confirm() {
    const Outcome outcome = logic->Confirm();
    if (outcome != Outcome::kStore) return outcome;
    const std::optional<KeyEdit> edit = logic->Edit();
    if (edit && session.ApplyKeyEdit(0, *edit).status != SessionStatus::kDone) {
      logic->EditRefused();
      return Outcome::kStayOpen;
    }
    return outcome;
  }

  // Confirms and hands back the record the key holds then (nothing when it keeps its own).
  std::optional<Record> Ok() {
    if (Confirm() != Outcome::kStore) return std::nullopt;
    return WorkingRecord(config.working_profile, 0);
  }

  // Clicks the screen keyboard button `id`.
  void Click(int id) { logic->TakePick(*PickOfButton(id)); }

  std::uint8_t StoredString(std::string_view text) {
    return *StoreString(config, spare_link, text, env.log, env.notifier);
  }

  EditingSession editing;
  std::unique_ptr<KeyAttributeLogic> logic;
};

TEST_F(KeyAttributeLogicTest, ShortcutOpensWithItsBoxesAndFirstKey) {
  KeyAttributeLogic& dialog = Open({0x84, 0x05, 0x06, 0x00});

  EXPECT_EQ(dialog.TypeSelection(), kTypeShortcut);
  EXPECT_TRUE(dialog.Checked(kIdKeyCtrl));
  EXPECT_TRUE(dialog.Checked(kIdKeyAlt));
  EXPECT_FALSE(dialog.Checked(kIdKeyShift));
  EXPECT_FALSE(dialog.Checked(kIdKeyWin));
  EXPECT_EQ(dialog.Text(kIdKeyName2), "c");
  EXPECT_EQ(dialog.Text(kIdKeyCode2), "6");
  EXPECT_EQ(dialog.Text(kIdKeyName3), "");
  EXPECT_EQ(dialog.Text(kIdKeyCode3), "");
  EXPECT_EQ(dialog.Text(kIdKeyRow2Label), "Key 1");
  EXPECT_EQ(dialog.FocusTarget(), kIdKeyName2);
  EXPECT_TRUE(dialog.Visible(kIdKeyName2));
  EXPECT_FALSE(dialog.Visible(kIdKeyName1));

  EXPECT_EQ(Ok(), (Record{0x84, 0x05, 0x06, 0x00}));
  EXPECT_EQ(dialog.LabelText(), "3 Windows Shortcut");
}

TEST_F(KeyAttributeLogicTest, NamesBecomeCodesAndUnknownNamesGiveCodeZero) {
  KeyAttributeLogic& dialog = Open({0x80, 0x04, 0x00, 0x00});
  EXPECT_EQ(dialog.Text(kIdKeyName1), "a");
  EXPECT_EQ(dialog.Text(kIdKeyCode1), "4");
  EXPECT_EQ(dialog.Text(kIdKeyHelp), KeyTypeHelpText(kTypeKeyboard));

  dialog.EditField(kIdKeyName1, "Enter");
  EXPECT_EQ(dialog.Text(kIdKeyCode1), "40");
  dialog.EditField(kIdKeyName1, "xyz");
  EXPECT_EQ(dialog.Text(kIdKeyCode1), "");
  EXPECT_EQ(Ok(), (Record{0x80, 0x00, 0x00, 0x00}));
}

TEST_F(KeyAttributeLogicTest, ConfirmComputesTheRecordOfEachType) {
  struct Case {
    const char* what;
    Record opened;
    int type;
    std::vector<std::pair<int, std::string>> fields;
    Record stored;
  };
  const std::vector<Case> cases = {
      {"profile switch code",
       {0x80, 0x04, 0, 0},
       kTypeKeyboard,
       {{kIdKeyCode1, "236"}},
       {0xBA, 0xEC, 0, 0}},
      {"reboot code",
       {0x80, 0x04, 0, 0},
       kTypeKeyboard,
       {{kIdKeyCode1, "249"}},
       {0xBA, 0xF9, 0, 0}},
      {"modifier key",
       {0x80, 0x04, 0, 0},
       kTypeKeyboard,
       {{kIdKeyName1, "Shift"}},
       {0x81, 0x02, 0xE1, 0}},
      {"mouse right",
       {0x80, 0x04, 0, 0},
       kTypeMouse,
       {{kIdKeyName1, "M_Right"}, {kIdKeyName2, "5"}, {kIdKeyName3, "-5"}},
       {0xA3, 0x02, 0x05, 0xFB}},
      {"mouse name in the wrong case",
       {0x80, 0x04, 0, 0},
       kTypeMouse,
       {{kIdKeyName1, "m_right"}, {kIdKeyName2, "5"}, {kIdKeyName3, "-5"}},
       {0xA3, 0x00, 0x05, 0xFB}},
      {"macro number out of range",
       {0x80, 0x04, 0, 0},
       kTypeMacro,
       {{kIdKeyName1, "40"}},
       {0xB5, 40, 0, 2}},
      {"media number", {0x80, 0x04, 0, 0}, kTypeMultimedia, {{kIdKeyCode1, "6"}}, {0xA2, 6, 0, 0}},
      {"shortcut keys",
       {0x80, 0x04, 0, 0},
       kTypeShortcut,
       {{kIdKeyName2, "c"}, {kIdKeyName3, "v"}},
       {0x84, 0x00, 0x06, 0x19}},
  };
  for (const Case& c : cases) {
    KeyAttributeLogic& dialog = Open(c.opened);
    dialog.SelectType(c.type);
    for (const auto& [id, text] : c.fields) dialog.EditField(id, text);
    EXPECT_EQ(Ok(), c.stored) << c.what;
  }
}

TEST_F(KeyAttributeLogicTest, ChoosingAnotherTypeEmptiesEveryFieldAndBox) {
  KeyAttributeLogic& dialog = Open({0x84, 0x05, 0x06, 0x00});
  dialog.SelectType(kTypeKeyboard);
  dialog.SelectType(kTypeShortcut);

  for (int id : {kIdKeyName1, kIdKeyName2, kIdKeyName3, kIdKeyCode1, kIdKeyCode2, kIdKeyCode3}) {
    EXPECT_EQ(dialog.Text(id), "") << id;
  }
  EXPECT_FALSE(dialog.Checked(kIdKeyCtrl));
  EXPECT_FALSE(dialog.Checked(kIdKeyAlt));
  EXPECT_EQ(Ok(), (Record{0x84, 0x00, 0x00, 0x00}));
}

TEST_F(KeyAttributeLogicTest, BurstTextKeepsFifteenCharactersInANewEntryAndFreesTheOld) {
  const std::uint8_t old_entry = *AllocateBurstEntry(config.burst_table);
  WriteBurstText(config.burst_table, old_entry, "OLD");
  KeyAttributeLogic& dialog = Open({kActionBurst, 0, 0, old_entry});
  EXPECT_EQ(dialog.Text(kIdKeyName1), "OLD");
  EXPECT_EQ(dialog.Text(kIdKeyCode1), "0");

  dialog.EditField(kIdKeyName1, "DIMLINEAR-ABCDEFG");  // 17 characters
  EXPECT_EQ(dialog.LimitText(), "17/15");
  const std::optional<Record> record = Ok();

  ASSERT_TRUE(record);
  EXPECT_EQ((*record)[0], kActionBurst);
  // The old entry was freed before the new one was taken, so the text reuses it.
  EXPECT_EQ(ReadBurstText(config.burst_table, (*record)[3]), "DIMLINEAR-ABCDE");
  EXPECT_EQ((*record)[3], old_entry);
  EXPECT_EQ(config.burst_table[16], kFreeBurstEntry);
}

TEST_F(KeyAttributeLogicTest, StringKeyStoresANewStringAndFreesTheOldOne) {
  const std::uint8_t old_string = StoredString("old text");
  KeyAttributeLogic& dialog = Open({kActionString, 0, 100, old_string});
  EXPECT_EQ(dialog.Text(kIdKeyName1), "old text");

  dialog.EditField(kIdKeyName1, "twenty characters!!!");
  EXPECT_EQ(dialog.LimitText(), "20/252 (units free: 254)");
  const std::optional<Record> record = Ok();

  ASSERT_TRUE(record);
  EXPECT_EQ((*record)[0], kActionString);
  EXPECT_EQ((*record)[2], 8);  // the pace of a text over 12 characters
  EXPECT_EQ(ReadChainedString(config.string_unit_table, (*record)[3]), "twenty characters!!!");
  EXPECT_EQ(FreeStringUnits(config.string_unit_table, StringFormat::kChained), 253u);
}

TEST_F(KeyAttributeLogicTest, StringIsFreedByAnotherTypeOnOkOnly) {
  const std::uint8_t string = StoredString("Hello");
  KeyAttributeLogic& cancelled = Open({kActionString, 0, 20, string});
  cancelled.SelectType(kTypeKeyboard);
  // Cancel: the dialog ends without Confirm.
  EXPECT_EQ(ReadChainedString(config.string_unit_table, string), "Hello");

  KeyAttributeLogic& confirmed = Open({kActionString, 0, 20, string});
  confirmed.SelectType(kTypeKeyboard);
  confirmed.EditField(kIdKeyName1, "a");
  EXPECT_EQ(Ok(), (Record{0x80, 0x04, 0x00, 0x00}));
  EXPECT_EQ(ReadChainedString(config.string_unit_table, string), std::nullopt);
}

TEST_F(KeyAttributeLogicTest, KeyThatBecomesAStringKeyFreesNoOtherString) {
  const std::uint8_t others = StoredString("another key's");
  KeyAttributeLogic& dialog = Open({0x80, 0x04, 0, 0});
  dialog.SelectType(kTypeString);
  dialog.EditField(kIdKeyName1, "mine");
  ASSERT_TRUE(Ok());
  EXPECT_EQ(ReadChainedString(config.string_unit_table, others), "another key's");
}

TEST_F(KeyAttributeLogicTest, EmptiedStringKeepsTheKeyAndItsString) {
  const std::uint8_t string = StoredString("Hello");
  KeyAttributeLogic& dialog = Open({kActionString, 0, 20, string});
  dialog.EditField(kIdKeyName1, "");

  EXPECT_EQ(dialog.Confirm(), Outcome::kKeepRecord);
  EXPECT_EQ(dialog.LabelText(), "");
  EXPECT_EQ(ReadChainedString(config.string_unit_table, string), "Hello");
}

TEST_F(KeyAttributeLogicTest, FullTablesKeepTheDialogOpenAndChangeNothing) {
  // Every burst entry is taken by other keys; a key that had none cannot get one.
  config.burst_table.fill('x');
  const BurstTable bursts_before = config.burst_table;
  KeyAttributeLogic& burst = Open({0x80, 0x04, 0, 0});
  burst.SelectType(kTypeBurst);
  burst.EditField(kIdKeyName1, "a new text");
  EXPECT_EQ(Confirm(), Outcome::kStayOpen);
  EXPECT_EQ(config.burst_table, bursts_before);
  EXPECT_EQ(burst.Text(kIdKeyName1), "a new text");
  EXPECT_EQ(burst.LabelText(), "");

  // A burst key whose own entry is the only one it can have reuses it.
  WriteBurstText(config.burst_table, 7, "mine");
  Open({kActionBurst, 0, 0, 7}).EditField(kIdKeyName1, "yours");
  EXPECT_EQ(Ok(), (Record{kActionBurst, 0, 0, 7}));
  EXPECT_EQ(ReadBurstText(config.burst_table, 7), "yours");

  // Every string unit is taken; a text needing more units than the key's own cannot go in.
  const std::uint8_t string = StoredString("short");
  for (std::size_t unit = 1; unit < kTextEntryCount; ++unit) {
    config.string_unit_table[unit * kTextEntrySize + kUnitMark] = kUnitInUse;
  }
  const StringUnitTable strings_before = config.string_unit_table;
  KeyAttributeLogic& text = Open({kActionString, 0, 100, string});
  text.EditField(kIdKeyName1, "a text that needs more than one unit");
  EXPECT_EQ(Confirm(), Outcome::kStayOpen);
  EXPECT_EQ(config.string_unit_table, strings_before);
  EXPECT_FALSE(env.notifier.messages.empty());
}

TEST_F(KeyAttributeLogicTest, CharactersBeyondAsciiAreNeverStoredAsUtf8AndAreNamed) {
  KeyAttributeLogic& burst = Open({0x80, 0x04, 0, 0});
  burst.SelectType(kTypeBurst);
  burst.EditField(kIdKeyName1,
                  "a\xC3\xA9\xE2\x82\xAC"
                  "b");  // a é € b
  EXPECT_EQ(burst.UnstoredCharacters(), (std::vector<std::string>{"\xC3\xA9", "\xE2\x82\xAC"}));
  const std::optional<Record> record = Ok();
  ASSERT_TRUE(record);
  const std::size_t entry = (*record)[3] * kTextEntrySize;
  EXPECT_EQ(config.burst_table[entry + 0], 'a');
  EXPECT_EQ(config.burst_table[entry + 1], 0);
  EXPECT_EQ(config.burst_table[entry + 2], 0);
  EXPECT_EQ(config.burst_table[entry + 3], 'b');
  ASSERT_EQ(env.notifier.messages.size(), 1u);
  EXPECT_NE(env.notifier.messages[0].find("\xC3\xA9 \xE2\x82\xAC"), std::string::npos);

  KeyAttributeLogic& string = Open({0x80, 0x04, 0, 0});
  string.SelectType(kTypeString);
  string.EditField(kIdKeyName1, "caf\xC3\xA9");
  const std::optional<Record> string_record = Ok();
  ASSERT_TRUE(string_record);
  EXPECT_EQ(ReadChainedString(config.string_unit_table, (*string_record)[3]), "caf?");
}

TEST_F(KeyAttributeLogicTest, StopModeIsRememberedAcrossDialogs) {
  KeyAttributeLogic& macro = Open({kActionMacro, 3, 0, 1});
  EXPECT_EQ(macro.StopModeSelection(), 1);
  EXPECT_EQ(Ok(), (Record{kActionMacro, 3, 0, 1}));

  KeyAttributeLogic& other = Open({0x80, 0x04, 0, 0});
  other.SelectType(kTypeMacro);
  EXPECT_EQ(other.StopModeSelection(), 1);
  EXPECT_EQ(other.Text(kIdKeyRow2Label), "STOP Mode ");

  // OK on a key of another type takes the hidden list's selection, 2 unless changed.
  KeyAttributeLogic& keyboard = Open({0x80, 0x04, 0, 0});
  ASSERT_TRUE(Ok());
  EXPECT_EQ(editing.remembered_stop_mode, 2);
  EXPECT_EQ(keyboard.StopModeSelection(), 2);
}

TEST_F(KeyAttributeLogicTest, UnknownRecordOpensWithoutATypeAndOkKeepsIt) {
  const std::uint8_t string = StoredString("kept");
  for (const Record& record :
       {Record{0, 0, 0, 0}, Record{0xFF, 0xFF, 0xFF, 0xFF}, Record{kActionNull, 0, 0, 0}}) {
    KeyAttributeLogic& dialog = Open(record);
    EXPECT_EQ(dialog.TypeSelection(), kTypeNoneSelected);
    EXPECT_EQ(dialog.Text(kIdKeyHelp), KeyTypeHelpText(kTypeNoneSelected));
    EXPECT_FALSE(dialog.Visible(kIdKeyName1));
    EXPECT_EQ(dialog.Confirm(), Outcome::kKeepRecord);
    EXPECT_EQ(dialog.Record(), std::nullopt);
  }
  EXPECT_EQ(ReadChainedString(config.string_unit_table, string), "kept");
}

TEST_F(KeyAttributeLogicTest, MediaCodeBeyondTheTableShowsItsNumberOnly) {
  KeyAttributeLogic& dialog = Open({kActionMedia, 27, 0, 0});
  EXPECT_EQ(dialog.Text(kIdKeyName1), "");
  EXPECT_EQ(dialog.Text(kIdKeyCode1), "27");
  EXPECT_EQ(dialog.Text(kIdKeyKeyboardLabel), "Media Button ");
}

TEST_F(KeyAttributeLogicTest, ReservedTypeBKeepsTheRowLabelOfTheTemplate) {
  KeyAttributeLogic& dialog = Open({kActionReservedB, 0x10, 0, 0});
  EXPECT_EQ(dialog.Text(kIdKeyRow1Label), "属性1");
  EXPECT_NE(dialog.Text(kIdKeyHelp).find("Reserved system function"), std::string::npos);
}

// Screen keyboard picks, by the key dialog's type and focused field.
TEST_F(KeyAttributeLogicTest, ScreenKeyboardPicksFillTheTargetField) {
  KeyAttributeLogic& keyboard = Open({0x80, 0x04, 0, 0});
  Click(3152);  // "Q"
  EXPECT_EQ(keyboard.Text(kIdKeyName1), "q");
  EXPECT_EQ(keyboard.Text(kIdKeyCode1), "20");
  Click(3269);  // "Reboot"
  EXPECT_EQ(keyboard.Text(kIdKeyCode1), "249");
  EXPECT_EQ(Ok(), (Record{0xBA, 0xF9, 0, 0}));

  KeyAttributeLogic& shortcut = Open({0x84, 0, 0, 0});
  shortcut.FocusField(kIdKeyName2);
  Click(3205);  // "Ctrl"
  EXPECT_EQ(shortcut.Text(kIdKeyName2), "Ctrl");
  EXPECT_EQ(shortcut.Text(kIdKeyCode2), "224");

  KeyAttributeLogic& string = Open({0x80, 0x04, 0, 0});
  string.SelectType(kTypeString);
  string.EditField(kIdKeyName1, "ab");
  for (int id : {3182, 3209, 3115, 3241, 3226, 3263, 3269}) Click(id);
  // Enter, the space bar and F1 add their characters; media, mouse and tools add nothing.
  EXPECT_EQ(string.Text(kIdKeyName1), "ab^e ?");

  KeyAttributeLogic& macro = Open({kActionMacro, 0, 0, 0});
  macro.EditField(kIdKeyName1, "");
  Click(3133);  // "1 !"
  Click(3134);  // "2 @"
  EXPECT_EQ(macro.Text(kIdKeyName1), "12");

  KeyAttributeLogic& media = Open({kActionMedia, 0, 0, 0});
  Click(3241);  // "Volume+"
  EXPECT_EQ(media.Text(kIdKeyName1), "Volume+");
  EXPECT_EQ(media.Text(kIdKeyCode1), "6");

  KeyAttributeLogic& mouse = Open({kActionMouse, 1, 0, 0});
  Click(3234);  // "Wheel"
  EXPECT_EQ(mouse.Text(kIdKeyName1), "M_Wheel");
}

TEST_F(KeyAttributeLogicTest, PicksReachOnlyTheOwnerOfTheKeyboards) {
  KeyAttributeLogic& dialog = Open({0x80, 0x04, 0, 0});
  editing.screen_keyboard_owner = kOwnerChordEditor;
  Click(3152);
  EXPECT_EQ(dialog.Text(kIdKeyName1), "a");
}

}  // namespace
}  // namespace qp40
