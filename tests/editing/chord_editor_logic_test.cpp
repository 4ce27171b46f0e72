#include "editing/chord_editor_logic.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "support/log_doubles.h"
#include "support/temp_folder.h"

namespace qp40 {
namespace {

using testing::RecordingNotifier;

constexpr std::size_t kChordValues = kChordCount * kChordRecordSize;

// One editor over its own table, as the window opens it.
struct EditorRig {
  EditorRig() { editor.Open(); }
  EditingSession session;
  ChordTable table{};
  RecordingNotifier notifier;
  ChordEditorLogic editor{session, table, notifier};
};

TEST(ChordEditorLogicTest, OkWritesTheFieldsBackByTheWordLookup) {
  struct Case {
    const char* what;
    ChordRecord before;
    std::vector<std::pair<int, std::string>> fields;
    std::vector<std::pair<int, bool>> boxes;
    ChordRecord after;
  };
  const Case cases[] = {
      {"names of both triggers and an output",
       {},
       {{kIdChordKey1, "s"}, {kIdChordKey2, "d"}, {kIdChordOutput1, "Enter"}},
       {},
       {0x16, 0x07, 0x00, 0x28, 0, 0, 0, 0}},
      {"upper-case letters and an emptied field",
       {0x16, 0x07, 0x00, 0x28, 0x29, 0, 0, 0},
       {{kIdChordKey1, "A"}, {kIdChordOutput2, ""}},
       {},
       {0x04, 0x07, 0x00, 0x28, 0x00, 0, 0, 0}},
      {"the boxes set bits 0 to 3 and keep the right-hand bits",
       {0x16, 0x07, 0x10, 0x28, 0, 0, 0, 0},
       {},
       {{kIdChordCtrl, true}, {kIdChordWin, true}},
       {0x16, 0x07, 0x19, 0x28, 0, 0, 0, 0}},
      {"a sixth character takes bit 7 and its code",
       {0x16, 0x07, 0x03, 0x28, 0, 0, 0, 0},
       {{kIdChordSixth, "Enter"}},
       {},
       {0x16, 0x07, 0xA8, 0x28, 0, 0, 0, 0}},
      {"clearing the sixth character gives the boxes back their bits",
       {0x16, 0x07, 0xA8, 0x28, 0, 0, 0, 0},
       {{kIdChordSixth, ""}},
       {{kIdChordShift, true}},
       {0x16, 0x07, 0x02, 0x28, 0, 0, 0, 0}},
      {"a byte whose code has no name survives an edit of another field",
       {0x16, 0x07, 0x00, 0x90, 0, 0, 0, 0x64},
       {{kIdChordKey2, "f"}},
       {},
       {0x16, 0x09, 0x00, 0x90, 0, 0, 0, 0x64}},
  };
  for (const Case& c : cases) {
    EditorRig rig;
    rig.table[4] = c.before;
    rig.editor.Select(4);
    for (const auto& [id, text] : c.fields) rig.editor.EditField(id, text);
    for (const auto& [id, checked] : c.boxes) rig.editor.SetChecked(id, checked);
    EXPECT_TRUE(rig.editor.UnconfirmedChanges() || (c.fields.empty() && c.boxes.empty())) << c.what;
    EXPECT_EQ(rig.editor.Confirm().status, ChordEditorLogic::ConfirmStatus::kStored) << c.what;
    EXPECT_EQ(rig.table[4], c.after) << c.what;
    EXPECT_FALSE(rig.editor.UnconfirmedChanges()) << c.what;
    EXPECT_TRUE(rig.notifier.messages.empty()) << c.what;
    EXPECT_NE(rig.editor.ListPane().find("No. 5 :  "), std::string::npos) << c.what;
  }
}

TEST(ChordEditorLogicTest, OkRefusesUnknownNamesAndCodesThatCannotBeASixthCharacter) {
  struct Case {
    int field;
    std::string text;
    ChordEditorLogic::ConfirmStatus status;
    std::string message;
  };
  const Case cases[] = {
      {kIdChordOutput2, "Entr", ChordEditorLogic::ConfirmStatus::kUnknownName,
       "Output 2: \"Entr\" is no key name. Record # 03 is unchanged."},
      {kIdChordKey1, "12", ChordEditorLogic::ConfirmStatus::kUnknownName,
       "Key_1: \"12\" is no key name. Record # 03 is unchanged."},
      {kIdChordSixth, "Ctrl", ChordEditorLogic::ConfirmStatus::kNotASixthCharacter,
       "Output 6: \"Ctrl\" has the code 0xE0; a sixth character takes codes up to 0x7F only. "
       "Record # 03 is unchanged."},
  };
  for (const Case& c : cases) {
    EditorRig rig;
    const ChordRecord before = {0x16, 0x07, 0x01, 0x28, 0, 0, 0, 0};
    rig.table[2] = before;
    rig.editor.Select(2);
    rig.editor.EditField(kIdChordOutput1, "Esc");
    rig.editor.EditField(c.field, c.text);
    const ChordEditorLogic::ConfirmResult result = rig.editor.Confirm();
    EXPECT_EQ(result.status, c.status) << c.text;
    EXPECT_EQ(result.field, c.field) << c.text;
    EXPECT_EQ(rig.table[2], before) << c.text;
    EXPECT_EQ(rig.notifier.messages, std::vector<std::string>{c.message});
    EXPECT_TRUE(rig.editor.UnconfirmedChanges()) << c.text;
  }
}

TEST(ChordEditorLogicTest, WithoutASelectionOkAndCutAreRefused) {
  EditorRig rig;
  rig.table[0] = {0x16, 0x07, 0, 0x28, 0, 0, 0, 0};
  rig.editor.EditField(kIdChordKey1, "a");
  EXPECT_EQ(rig.editor.Confirm().status, ChordEditorLogic::ConfirmStatus::kNoSelection);
  EXPECT_FALSE(rig.editor.Cut());
  EXPECT_EQ(rig.notifier.messages,
            std::vector<std::string>(2, std::string(kChordNoSelectionMessage)));
  EXPECT_EQ(rig.table[0][0], 0x16);
  EXPECT_EQ(rig.editor.ListPane(), kChordLoadingText);

  // Text typed into the list's edit field selects none and keeps the fields.
  rig.editor.Select(0);
  rig.editor.EditField(kIdChordOutput2, "b");
  rig.editor.Select(-1);
  EXPECT_EQ(rig.editor.Selection(), -1);
  EXPECT_EQ(rig.editor.FieldText(kIdChordOutput2), "b");
}

TEST(ChordEditorLogicTest, CutClearsTheRecordAndItsFields) {
  EditorRig rig;
  rig.table[6] = {0x16, 0x07, 0x01, 0x28, 0, 0, 0, 0};
  rig.editor.Select(6);
  EXPECT_TRUE(rig.editor.Checked(kIdChordCtrl));
  EXPECT_TRUE(rig.editor.Cut());
  EXPECT_EQ(rig.table[6], ChordRecord{});
  EXPECT_EQ(rig.editor.FieldText(kIdChordKey1), "");
  EXPECT_FALSE(rig.editor.Checked(kIdChordCtrl));
  EXPECT_FALSE(rig.editor.UnconfirmedChanges());
  EXPECT_NE(rig.editor.ListPane().find("No. 7 :  \r\nNo. 8 :  \r\n"), std::string::npos);
}

TEST(ChordEditorLogicTest, TheListPaneFlagsDuplicatesMissingOutputsAndSystemKeys) {
  EditorRig rig;
  rig.table[0] = {0x16, 0x07, 0, 0x28, 0, 0, 0, 0};  // s d -> Enter
  rig.table[1] = {0x07, 0x16, 0, 0x29, 0, 0, 0, 0};  // d s -> Esc: the same two keys
  rig.table[2] = {0x04, 0x05, 0x01, 0, 0, 0, 0, 0};  // Ctrl alone puts out nothing
  rig.table[3] = {0xF9, 0x04, 0, 0x28, 0, 0, 0, 0};  // Reboot as a trigger
  rig.table[4] = {0xEC, 0x05, 0x80, 0, 0, 0, 0, 0};  // Profile; bit 7 without a code
  rig.table[5] = {0x08, 0x09, 0xA8, 0, 0, 0, 0, 0};  // the sixth character is an output
  rig.editor.Select(5);
  ASSERT_EQ(rig.editor.Confirm().status, ChordEditorLogic::ConfirmStatus::kStored);

  const std::array<ChordCheck, kChordCount> checks = CheckChords(rig.table);
  EXPECT_EQ(checks[0].same_triggers_as, 2);
  EXPECT_EQ(checks[1].same_triggers_as, 1);
  EXPECT_TRUE(checks[2].triggers_without_output);
  EXPECT_TRUE(checks[3].system_key_trigger);
  EXPECT_TRUE(checks[4].system_key_trigger && checks[4].triggers_without_output);
  EXPECT_FALSE(checks[5].Flagged());
  // Empty records share their empty trigger pair without a flag.
  EXPECT_FALSE(checks[6].Flagged());

  const std::string& pane = rig.editor.ListPane();
  EXPECT_NE(pane.find("No. 1 :  s d\xE2\x86\x92  + Enter   ! same keys as No.2\r\n"),
            std::string::npos);
  EXPECT_NE(pane.find("No. 3 :  a b\xE2\x86\x92  Ctrl    ! no output\r\n"), std::string::npos);
  EXPECT_NE(pane.find("No. 5 :  Profile b\xE2\x86\x92    "
                      "   ! no output; a trigger switches the profile or reboots\r\n"),
            std::string::npos);
  EXPECT_NE(pane.find("No. 6 :  e f\xE2\x86\x92     + Enter\r\n"), std::string::npos);
  EXPECT_EQ(rig.editor.PaneChecks().size(), kChordCount);
}

TEST(ChordEditorLogicTest, GridKeysGiveTriggerFieldsTheKeyTheySend) {
  EditorRig rig;
  rig.editor.FocusField(kIdChordKey2);
  EXPECT_EQ(rig.editor.TakeGridKey({0x80, 0x04, 0, 0}, 1, 1), ChordEditorLogic::GridPick::kWritten);
  EXPECT_EQ(rig.editor.FieldText(kIdChordKey2), "a");
  EXPECT_EQ(rig.editor.TakeGridKey({0xBA, 0xF9, 0, 0}, 1, 2), ChordEditorLogic::GridPick::kWritten);
  EXPECT_EQ(rig.editor.FieldText(kIdChordKey2), "Reboot");

  // A media key sends no key code; an output field takes no grid key.
  EXPECT_EQ(rig.editor.TakeGridKey({0xA2, 0x06, 0, 0}, 2, 3),
            ChordEditorLogic::GridPick::kNoKeyName);
  rig.editor.FocusField(kIdChordOutput1);
  EXPECT_EQ(rig.editor.TakeGridKey({0x80, 0x05, 0, 0}, 1, 1),
            ChordEditorLogic::GridPick::kNoTriggerField);
  EXPECT_EQ(rig.editor.FieldText(kIdChordKey2), "Reboot");
  EXPECT_EQ(rig.editor.FieldText(kIdChordOutput1), "");
  ASSERT_EQ(rig.notifier.messages.size(), 2u);
  EXPECT_EQ(rig.notifier.messages[0],
            "Key23 sends no single keyboard key, so it cannot be a trigger key.");
}

TEST(ChordEditorLogicTest, ScreenKeyboardPicksGoToTheFocusedFieldWhileTheEditorOwnsThem) {
  EditorRig rig;
  EXPECT_EQ(rig.session.screen_keyboard_owner, kOwnerChordEditor);
  rig.editor.TakePick(*PickOfButton(3171));  // "A", focus still on Key_1 from the opening
  EXPECT_EQ(rig.editor.FieldText(kIdChordKey1), "a");
  rig.editor.FocusField(kIdChordOutput2);
  rig.editor.TakePick(*PickOfButton(3182));
  EXPECT_EQ(rig.editor.FieldText(kIdChordOutput2), "Enter");
  // Another control taking the focus (a button, the keyboard's search box) is no field.
  rig.editor.FocusField(kIdChordScreenKeyboard);
  EXPECT_EQ(rig.editor.FocusedField(), kIdChordOutput2);
  rig.session.screen_keyboard_owner = kOwnerKeyDialog;
  rig.editor.TakePick(*PickOfButton(3172));
  EXPECT_EQ(rig.editor.FieldText(kIdChordOutput2), "Enter");
}

TEST(ChordEditorLogicTest, ATableNoFileHoldsIsUnexportedUntilExportedOrImported) {
  testing::TempFolder folder;
  const std::filesystem::path file = folder.Path() / "chords.txt";
  EditorRig rig;
  EXPECT_FALSE(rig.editor.Unexported());
  rig.editor.Select(0);
  rig.editor.EditField(kIdChordKey1, "s");
  EXPECT_FALSE(rig.editor.Unexported());  // not confirmed yet
  rig.editor.Confirm();
  EXPECT_TRUE(rig.editor.Unexported());
  ASSERT_TRUE(rig.editor.Export(file));
  EXPECT_FALSE(rig.editor.Unexported());

  // A new editor of the same run knows what the file holds.
  ChordEditorLogic again(rig.session, rig.table, rig.notifier);
  again.Open();
  again.Select(0);
  again.Cut();
  EXPECT_TRUE(again.Unexported());
  EXPECT_EQ(again.Import(file).values_read, kChordValues);
  EXPECT_FALSE(again.Unexported());
  EXPECT_EQ(again.FieldText(kIdChordKey1), "s");

  EXPECT_FALSE(again.Export(folder.Path() / "missing" / "chords.txt"));
  EXPECT_EQ(rig.notifier.messages.size(), 1u);
}

TEST(ChordEditorLogicTest, AFileCutShortSaysHowManyValuesWereRead) {
  testing::TempFolder folder;
  const std::filesystem::path file = folder.Path() / "short.txt";
  {
    std::ofstream out(file, std::ios::binary);
    out << "0x92, 0x02, 0x00, 0x01, \r\n 0x16, 0x07, 0x00, 0x28, 0x2";
  }
  EditorRig rig;
  rig.table[0].fill(0x11);
  rig.table[1].fill(0x22);
  const ChordImportResult result = rig.editor.Import(file);
  EXPECT_EQ(result.values_read, 5u);
  EXPECT_EQ(rig.table[0], (ChordRecord{0x16, 0x07, 0x00, 0x28, 0x02, 0x11, 0x11, 0x11}));
  EXPECT_EQ(rig.table[1][0], 0x22);
  EXPECT_EQ(rig.notifier.messages,
            std::vector<std::string>{"The chord file ends early: 5 of 256 values were read. The "
                                     "records after the break keep what they held."});
  EXPECT_TRUE(rig.editor.Unexported());

  EXPECT_EQ(rig.editor.Import(folder.Path() / "none.txt").status, ChordImportStatus::kCannotOpen);
  EXPECT_EQ(rig.notifier.messages.back(),
            std::string(kChordFileOpenFailedMessage) + (folder.Path() / "none.txt").string());
}

TEST(ChordEditorLogicTest, ModifierWordsInAnyCase) {
  EXPECT_EQ(ChordModifierBox("ctrl"), 0u);
  EXPECT_EQ(ChordModifierBox("WIN"), 3u);
  EXPECT_EQ(ChordModifierBox("Window"), std::nullopt);
  EXPECT_EQ(ChordModifierBox(""), std::nullopt);
}

}  // namespace
}  // namespace qp40
