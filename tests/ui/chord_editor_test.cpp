// The two-key chord editor on the virtual keypad: reached from the window, its template, the
// records it shows, OK and Cut, the chord files, the screen keyboard and grid picks, and the
// window's reload when it closes.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <fstream>
#include <functional>
#include <iterator>

#include "chords/chord_file.h"
#include "editing/chord_editor_logic.h"
#include "model/profile_ops.h"
#include "support/temp_folder.h"
#include "ui/chord_editor/chord_edit_dialog.h"
#include "ui/common/clr_button.h"
#include "ui/common/dialog_template.h"
#include "ui/main/main_dialog_ids.h"
#include "ui_fixture.h"

namespace qp40::test {
namespace {

std::string ReadFile(const QString& path) {
  std::ifstream file(path.toStdString(), std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void WriteFile(const QString& path, std::string_view bytes) {
  std::ofstream(path.toStdString(), std::ios::binary) << bytes;
}

QString Text(const QWidget& editor, int id) { return DialogItem<QLineEdit>(editor, id)->text(); }
bool Checked(const QWidget& editor, int id) {
  return DialogItem<QCheckBox>(editor, id)->isChecked();
}
QString Pane(const QWidget& editor) {
  return DialogItem<QPlainTextEdit>(editor, kIdChordListPane)->toPlainText();
}
void Click(const QWidget& editor, int id) { DialogItem<QPushButton>(editor, id)->click(); }
void Type(const QWidget& editor, int id, const QString& text) {
  DialogItem<QLineEdit>(editor, id)->setText(text);
}
// A choice in the record list, as the user makes it from the drop-down list.
void Choose(const QWidget& editor, int index) {
  auto* list = DialogItem<QComboBox>(editor, kIdChordRecordList);
  list->setCurrentIndex(index);
  emit list->activated(index);
}
void Focus(QWidget& editor, int id) {
  editor.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));
  DialogItem(editor, id)->setFocus();
}

class ChordEditorTest : public ::testing::Test {
 protected:
  // Opens the editor with the window's button and runs `play` in it while it is open beside the
  // window; `play` ends it or leaves that to the end of the run.
  void RunEditor(const std::function<void(CDialog2KeyClick&)>& play) {
    CMorvelDlg& window = rig.dialog ? *rig.dialog : rig.Open();
    rig.prompts.play = [&play](QDialog& dialog) {
      if (auto* editor = qobject_cast<CDialog2KeyClick*>(&dialog)) {
        editor->show();
        play(*editor);
      }
    };
    DialogItem<QPushButton>(window, kIdChordEditor)->click();
    rig.prompts.play = nullptr;
  }
  QString FilePath(const char* name) const { return QString::fromStdString(folder.File(name)); }

  WindowRig rig;
  testing::TempFolder folder;
};

TEST_F(ChordEditorTest, TheWindowsButtonOpensTheEditorWithCtrlT) {
  WindowRig unplugged(false);
  CMorvelDlg& without_keypad = unplugged.Open();
  EXPECT_FALSE(DialogItem(without_keypad, kIdChordEditor)->isEnabled());

  CMorvelDlg& window = rig.Open();
  auto* button = DialogItem<QPushButton>(window, kIdChordEditor);
  EXPECT_TRUE(button->isVisible());
  EXPECT_TRUE(button->isEnabled());
  EXPECT_EQ(button->text(), "TwoKeyClick Editor");
  EXPECT_TRUE(button->toolTip().contains("Ctrl+T"));
  // It stands in a row of its own, over no other command.
  for (const int id : {kIdCloseReboot, kIdLoadBackup, kIdBackupProfiles, kIdRestoreFactory}) {
    EXPECT_FALSE(button->geometry().intersects(DialogItem(window, id)->geometry())) << id;
  }

  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  QTest::keyClick(&window, Qt::Key_T, Qt::ControlModifier);
  EXPECT_EQ(rig.prompts.beside_titles, std::vector<QString>{"TwoKeyClick Editor"});
  EXPECT_TRUE(rig.prompts.dialog_titles.empty());
}

TEST_F(ChordEditorTest, OpensOnItsTemplateWithNoRecordSelected) {
  RunEditor([this](CDialog2KeyClick& editor) {
    EXPECT_EQ(editor.windowTitle(), "TwoKeyClick Editor");
    const DialogUnits units(editor.font());
    EXPECT_EQ(editor.size(), QSize(units.ToPixelsX(501), units.ToPixelsY(381)));
    EXPECT_EQ(DialogItem(editor, kIdChordListPane)->geometry(), units.ToPixels(7, 80, 204, 281));
    EXPECT_EQ(DialogItem(editor, kIdChordSixth)->geometry(), units.ToPixels(465, 31, 16, 14));
    EXPECT_EQ(DialogItem(editor, kIdChordCancel)->geometry(), units.ToPixels(220, 330, 70, 19));
    EXPECT_EQ(Pane(editor), "Loading the configuration from keyboard");

    auto* list = DialogItem<QComboBox>(editor, kIdChordRecordList);
    ASSERT_EQ(list->count(), 32);
    EXPECT_EQ(list->itemText(0), "# 01");
    EXPECT_EQ(list->itemText(31), "# 32");
    EXPECT_EQ(list->currentIndex(), -1);
    EXPECT_EQ(editor.Logic().FocusedField(), kIdChordKey1);
    EXPECT_EQ(rig.dialog->Session().screen_keyboard_owner, kOwnerChordEditor);

    EXPECT_EQ(DialogItem<QLabel>(editor, kIdChordFirstHelpLine)->text(), "   TwoKeyClick Feature");
    EXPECT_EQ(DialogItem<QLabel>(editor, kIdChordFirstHelpLine + 11)->text(), "Total 32 item ");
    for (const int id : {kIdChordCtrl, kIdChordShift, kIdChordAlt, kIdChordWin}) {
      EXPECT_TRUE(DialogItem(editor, id)->isEnabled()) << id;
    }
    // The keypad keeps no chords: these two say where chords are kept instead.
    for (const int id : {kIdChordLoadOnboard, kIdChordSaveOnboard}) {
      EXPECT_FALSE(DialogItem(editor, id)->isEnabled()) << id;
      EXPECT_TRUE(DialogItem(editor, id)->toolTip().contains("Backup to PC")) << id;
    }
    Click(editor, kIdChordCancel);
    EXPECT_FALSE(editor.isVisible());
  });
  EXPECT_EQ(rig.prompts.beside_titles.size(), 1u);
}

TEST_F(ChordEditorTest, ShowsRecordsWithTheLeftHandBoxesOrTheSixthCharacter) {
  rig.chords[0] = {0x16, 0x07, 0x11, 0x28, 0, 0, 0, 0};
  rig.chords[1] = {0x16, 0x08, 0x10, 0x28, 0, 0, 0, 0};
  rig.chords[2] = {0x2C, 0x04, 0xA8, 0x1A, 0x07, 0x06, 0, 0};
  rig.chords[3] = {0x04, 0x05, 0x02, 0x29, 0, 0, 0, 0};
  RunEditor([](CDialog2KeyClick& editor) {
    Choose(editor, 31);
    Click(editor, kIdChordCut);  // an empty record's cut rebuilds the list pane
    const QStringList lines = Pane(editor).split('\n');
    EXPECT_EQ(lines[0], QString::fromUtf8("No. 1 :  s d\u2192  Ctrl  + Enter"));
    EXPECT_EQ(lines[1], QString::fromUtf8("No. 2 :  s e\u2192  Ctrl  + Enter"));
    EXPECT_EQ(lines[2], QString::fromUtf8("No. 3 :  Space a\u2192     + w + d + c + Enter"));
    EXPECT_EQ(lines[4], "No. 5 :  ");

    Choose(editor, 0);
    EXPECT_TRUE(Checked(editor, kIdChordCtrl));
    EXPECT_EQ(Text(editor, kIdChordKey1), "s");
    EXPECT_EQ(Text(editor, kIdChordOutput1), "Enter");
    Choose(editor, 1);
    EXPECT_FALSE(Checked(editor, kIdChordCtrl));  // only the right-hand Ctrl bit
    Choose(editor, 3);
    EXPECT_TRUE(Checked(editor, kIdChordShift));
    Choose(editor, 2);
    EXPECT_EQ(Text(editor, kIdChordSixth), "Enter");
    EXPECT_EQ(DialogItem(editor, kIdChordSixth)->toolTip(), "Enter");
    EXPECT_EQ(Text(editor, kIdChordKey1), "Space");
    EXPECT_EQ(Text(editor, kIdChordOutput3), "c");
    // The boxes keep what record 4 showed and are out of use while 1131 holds a character.
    EXPECT_TRUE(Checked(editor, kIdChordShift));
    EXPECT_FALSE(DialogItem(editor, kIdChordShift)->isEnabled());
    Choose(editor, 4);
    EXPECT_EQ(Text(editor, kIdChordSixth), "");
    EXPECT_FALSE(Checked(editor, kIdChordShift));
    EXPECT_TRUE(DialogItem(editor, kIdChordShift)->isEnabled());
  });
}

TEST_F(ChordEditorTest, OkWritesTheFieldsBackOrNamesTheFieldItRefuses) {
  RunEditor([this](CDialog2KeyClick& editor) {
    Choose(editor, 4);
    Type(editor, kIdChordKey1, "s");
    Type(editor, kIdChordKey2, "d");
    Type(editor, kIdChordSixth, "Enter");
    Click(editor, kIdChordOk);
    EXPECT_TRUE(editor.isVisible());
    EXPECT_EQ(rig.chords[4], (ChordRecord{0x16, 0x07, 0xA8, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Pane(editor).split('\n')[4], QString::fromUtf8("No. 5 :  s d\u2192     + Enter"));

    Type(editor, kIdChordOutput1, "Entr");
    Click(editor, kIdChordOk);
    EXPECT_EQ(rig.chords[4], (ChordRecord{0x16, 0x07, 0xA8, 0, 0, 0, 0, 0}));
    EXPECT_EQ(rig.prompts.messages,
              std::vector<QString>{"Output 1: \"Entr\" is no key name. Record # 05 is unchanged."});

    // Another record asks first while the fields hold what OK has not taken.
    rig.prompts.answer_ok = false;
    Choose(editor, 5);
    EXPECT_EQ(DialogItem<QComboBox>(editor, kIdChordRecordList)->currentIndex(), 4);
    EXPECT_EQ(Text(editor, kIdChordOutput1), "Entr");
    rig.prompts.answer_ok = true;
    Choose(editor, 5);
    EXPECT_EQ(Text(editor, kIdChordOutput1), "");
    EXPECT_EQ(rig.prompts.questions.size(), 2u);
    EXPECT_EQ(rig.prompts.questions[0].toStdString(), kChordDiscardQuestion);
    Choose(editor, 6);
    EXPECT_EQ(rig.prompts.questions.size(), 2u);
  });
}

TEST_F(ChordEditorTest, CutClearsTheSelectedRecordAndRefusesWithoutOne) {
  rig.chords[2] = {0x16, 0x07, 0x01, 0x28, 0, 0, 0, 0};
  RunEditor([this](CDialog2KeyClick& editor) {
    Click(editor, kIdChordCut);
    EXPECT_EQ(rig.prompts.messages,
              std::vector<QString>{QString::fromUtf8(kChordNoSelectionMessage.data())});
    EXPECT_EQ(rig.chords[2][0], 0x16);

    Choose(editor, 2);
    // Text typed into the list's edit field selects no record.
    DialogItem<QComboBox>(editor, kIdChordRecordList)->setEditText("# 0");
    Click(editor, kIdChordCut);
    EXPECT_EQ(rig.prompts.messages.size(), 2u);
    Choose(editor, 2);
    Click(editor, kIdChordCut);
    EXPECT_EQ(rig.chords[2], ChordRecord{});
    EXPECT_EQ(Text(editor, kIdChordKey1), "");
    EXPECT_TRUE(Pane(editor).startsWith("No. 1 :  \nNo. 2 :  \nNo. 3 :  \n"));
  });
}

TEST_F(ChordEditorTest, ExportAndImportKeepEveryByteAndReadEveryWayOfWriting) {
  for (std::size_t r = 0; r < kChordCount; ++r) {
    for (std::size_t b = 0; b < kChordRecordSize; ++b) {
      rig.chords[r][b] = static_cast<std::uint8_t>(r * 8 + b + 0x40);
    }
  }
  const ChordTable sample = rig.chords;
  RunEditor([&](CDialog2KeyClick& editor) {
    rig.prompts.save_answer = FilePath("first.txt");
    Click(editor, kIdChordBackupToPc);
    EXPECT_EQ(editor.windowTitle(), FilePath("first.txt"));
    EXPECT_TRUE(DialogItem(editor, kIdChordBackupToPc)->isEnabled());
    rig.chords = ChordTable{};
    rig.prompts.open_answer = FilePath("first.txt");
    Click(editor, kIdChordLoadBackup);
    EXPECT_EQ(rig.chords, sample);
    rig.prompts.save_answer = FilePath("second.txt");
    Click(editor, kIdChordBackupToPc);
    EXPECT_TRUE(Pane(editor).startsWith("No. 1 :  "));
  });
  const std::string first = ReadFile(FilePath("first.txt"));
  EXPECT_EQ(first, ExportChordText(sample));
  EXPECT_EQ(ReadFile(FilePath("second.txt")), first);
  EXPECT_EQ(rig.prompts.file_filters, std::vector<QString>(3, "Text File(*.txt)|txt"));

  // Upper-case digits, no blanks after the commas and no "0x" read the same.
  std::string upper = "0X92,0X02,0X00,0X01,\r\n";
  for (std::size_t r = 0; r < kChordCount; ++r) {
    for (std::size_t b = 0; b < kChordRecordSize; ++b) {
      upper += QString::asprintf("%X,", sample[r][b]).toStdString();
    }
    upper += "\r\n";
  }
  WriteFile(FilePath("upper.txt"), upper);
  rig.chords = ChordTable{};
  RunEditor([&](CDialog2KeyClick& editor) {
    rig.prompts.open_answer = FilePath("upper.txt");
    Click(editor, kIdChordLoadBackup);
  });
  EXPECT_EQ(rig.chords, sample);
  EXPECT_TRUE(rig.prompts.messages.empty());
}

TEST_F(ChordEditorTest, ImportRefusesOtherFilesAndSaysWhatWasRead) {
  rig.chords[0] = {1, 2, 3, 4, 5, 6, 7, 8};
  rig.chords[1] = {9, 9, 9, 9, 9, 9, 9, 9};
  WriteFile(FilePath("other.txt"), "0x93, 0x02, 0x00, 0x01, \r\n 0x16,");
  WriteFile(FilePath("short.txt"), "0x92, 0x02, 0x00, 0x01, \r\n 0x16, 0x07, 0x00,");
  RunEditor([&](CDialog2KeyClick& editor) {
    rig.prompts.open_answer = FilePath("other.txt");
    Click(editor, kIdChordLoadBackup);
    EXPECT_EQ(rig.prompts.messages, std::vector<QString>{"unknow file"});
    EXPECT_EQ(rig.chords[0][0], 1);
    EXPECT_EQ(editor.windowTitle(), FilePath("other.txt"));
    EXPECT_EQ(Pane(editor), "Loading the configuration from keyboard");

    rig.prompts.open_answer = FilePath("missing.txt");
    Click(editor, kIdChordLoadBackup);
    EXPECT_EQ(rig.prompts.messages.back(), "Can't Open File " + FilePath("missing.txt"));

    rig.prompts.open_answer = FilePath("short.txt");
    Click(editor, kIdChordLoadBackup);
    EXPECT_EQ(rig.chords[0], (ChordRecord{0x16, 0x07, 0x00, 4, 5, 6, 7, 8}));
    EXPECT_EQ(rig.chords[1][0], 9);
    EXPECT_TRUE(rig.prompts.messages.back().contains("3 of 256 values were read"));
    EXPECT_TRUE(DialogItem(editor, kIdChordLoadBackup)->isEnabled());
  });
}

TEST_F(ChordEditorTest, AnEditedRecordExportsWithOnlyItsOneByteChanged) {
  ChordTable file_table{};
  file_table[0] = {0x16, 0x07, 0x00, 0x28, 0, 0, 0, 0};
  file_table[1] = {0x2C, 0x04, 0x03, 0x00, 0x07, 0, 0, 0};
  WriteFile(FilePath("in.txt"), ExportChordText(file_table));
  RunEditor([&](CDialog2KeyClick& editor) {
    rig.prompts.open_answer = FilePath("in.txt");
    Click(editor, kIdChordLoadBackup);
    Choose(editor, 1);
    Type(editor, kIdChordOutput1, "Enter");
    Click(editor, kIdChordOk);
    rig.prompts.save_answer = FilePath("out.txt");
    Click(editor, kIdChordBackupToPc);
  });
  const std::string in = ReadFile(FilePath("in.txt"));
  const std::string out = ReadFile(FilePath("out.txt"));
  ASSERT_EQ(in.size(), out.size());
  // Line 3 holds record 2; its fourth value starts after the blank and three "0x..., ".
  const std::size_t record2 = in.find("\r\n", in.find("\r\n") + 2) + 2;
  const std::size_t byte3 = record2 + 1 + 3 * 6;
  for (std::size_t i = 0; i < in.size(); ++i) {
    if (i < byte3 || i >= byte3 + 4) {
      EXPECT_EQ(in[i], out[i]) << i;
    }
  }
  EXPECT_EQ(in.substr(byte3, 4), "0x00");
  EXPECT_EQ(out.substr(byte3, 4), "0x28");
}

TEST_F(ChordEditorTest, TheScreenKeyboardWritesIntoTheFieldFocusedLast) {
  RunEditor([](CDialog2KeyClick& editor) {
    Click(editor, kIdChordScreenKeyboard);
    SoftKeyBoardWindow* keyboard = editor.Keyboard().Window();
    ASSERT_NE(keyboard, nullptr);
    EXPECT_EQ(keyboard->parentWidget(), &editor);
    Focus(editor, kIdChordOutput2);
    DialogItem<QPushButton>(*keyboard, 3171)->click();  // "A"
    EXPECT_EQ(Text(editor, kIdChordOutput2), "a");
    // A button taking the focus leaves the picks with the record field focused last.
    Focus(editor, kIdChordCut);
    DialogItem<QPushButton>(*keyboard, 3172)->click();  // "S"
    EXPECT_EQ(Text(editor, kIdChordOutput2), "s");
    EXPECT_EQ(Text(editor, kIdChordKey1), "");
    Focus(editor, kIdChordSixth);
    DialogItem<QPushButton>(*keyboard, 3182)->click();  // "Enter"
    EXPECT_EQ(Text(editor, kIdChordSixth), "Enter");
    EXPECT_FALSE(DialogItem(editor, kIdChordCtrl)->isEnabled());
  });
}

TEST_F(ChordEditorTest, TheKeyboardWindowTakingTheFocusLeavesThePicksWithTheEditorsField) {
  RunEditor([](CDialog2KeyClick& editor) {
    Focus(editor, kIdChordKey2);
    // The click on "Screen Keyboard" gives that button the focus.
    DialogItem(editor, kIdChordScreenKeyboard)->setFocus();
    Click(editor, kIdChordScreenKeyboard);
    SoftKeyBoardWindow* keyboard = editor.Keyboard().Window();
    ASSERT_NE(keyboard, nullptr);
    // As a click on the keyboard does: its window becomes active and its search box takes the
    // focus.
    keyboard->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(keyboard));
    QWidget* search = DialogItem(*keyboard, SoftKeyBoardWindow::kSearchId);
    search->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), search);
    DialogItem<QPushButton>(*keyboard, 3152)->click();  // "Q"
    EXPECT_EQ(Text(editor, kIdChordKey2), "q");
    EXPECT_EQ(Text(editor, kIdChordKey1), "");
  });
}

TEST_F(ChordEditorTest, KeysOfTheGridPickTriggersWhileTheWindowsCommandsWait) {
  CMorvelDlg& window = rig.Open();
  const KeyActionRecord key = WorkingRecord(rig.config.working_profile, 9);  // row 2, column 2
  RunEditor([&](CDialog2KeyClick& editor) {
    Focus(editor, kIdChordKey2);
    window.KeyButton(2, 2)->click();
    EXPECT_EQ(Text(editor, kIdChordKey2).toStdString(), GridKeyTriggerName(key).value());
    EXPECT_TRUE(rig.prompts.dialog_titles.empty());  // no key dialog

    for (const int id : {kIdLoadProfilesOnboard, kIdSaveProfilesOnboard, kIdMacroScriptEdit,
                         kIdChordEditor, kIdBoardTypeList, kIdRestoreFactory}) {
      EXPECT_FALSE(DialogItem(window, id)->isEnabled()) << id;
    }
    // Neither Escape nor the close box ends the window under the editor.
    window.activateWindow();
    QTest::keyClick(window.KeyButton(2, 2), Qt::Key_Escape);
    window.close();
    EXPECT_TRUE(window.isVisible());
  });
  for (const int id : {kIdLoadProfilesOnboard, kIdSaveProfilesOnboard, kIdMacroScriptEdit,
                       kIdChordEditor, kIdBoardTypeList, kIdRestoreFactory}) {
    EXPECT_TRUE(DialogItem(window, id)->isEnabled()) << id;
  }
  EXPECT_EQ(window.ChordEditor(), nullptr);
}

TEST_F(ChordEditorTest, ClosingShowsProfileOneAndReloadsTheKeypadAfterAPause) {
  CMorvelDlg& window = rig.Open();
  SelectProfile(rig.config, 2, window);
  PutRecord(rig.KeypadProfileBlock(), 0, 0, {0x80, 0x29, 0x00, 0x00});
  rig.pauses.clear();
  RunEditor([](CDialog2KeyClick& editor) { QTest::keyClick(&editor, Qt::Key_Escape); });
  EXPECT_EQ(rig.pauses, std::vector<int>{500});
  EXPECT_EQ(rig.config.current_profile, 0);
  EXPECT_EQ(WorkingRecord(rig.config.working_profile, 0), (KeyActionRecord{0x80, 0x29, 0, 0}));
  EXPECT_EQ(DialogItem<QPushButton>(window, kIdEditProfile)->text(), "Edit Profile 1");
}

TEST_F(ChordEditorTest, UnsavedKeyEditsAreKeptOrDroppedByTheReloadAsTheUserSays) {
  rig.Open();
  constexpr KeyActionRecord kEdited = {0x80, 0x2A, 0, 0};
  const KeyActionRecord on_keypad = WorkingRecord(rig.config.working_profile, 0);
  SetWorkingRecord(rig.config.working_profile, 0, kEdited);
  const auto requests = rig.keypad.RequestCount();

  rig.prompts.choice_answers = {"Cancel"};
  RunEditor([](CDialog2KeyClick& editor) { editor.reject(); });
  ASSERT_EQ(rig.prompts.choices.size(), 1u);
  EXPECT_TRUE(rig.prompts.choices[0].endsWith("[Save|Discard|Cancel]"));
  EXPECT_EQ(WorkingRecord(rig.config.working_profile, 0), kEdited);
  EXPECT_EQ(rig.keypad.RequestCount(), requests);

  rig.prompts.choice_answers = {"Discard"};
  RunEditor([](CDialog2KeyClick& editor) { editor.reject(); });
  EXPECT_EQ(WorkingRecord(rig.config.working_profile, 0), on_keypad);
  EXPECT_EQ(rig.keypad.RequestCount(), requests + 321);
}

TEST_F(ChordEditorTest, ClosingWithATableNoFileHoldsOffersTheExport) {
  RunEditor([&](CDialog2KeyClick& editor) {
    Choose(editor, 0);
    Type(editor, kIdChordKey1, "q");
    Click(editor, kIdChordOk);

    // OK with no file chosen: the editor stays, so nothing is lost.
    rig.prompts.answer_ok = true;
    Click(editor, kIdChordCancel);
    EXPECT_TRUE(editor.isVisible());
    rig.prompts.save_answer = FilePath("kept.txt");
    Click(editor, kIdChordCancel);
    EXPECT_FALSE(editor.isVisible());
  });
  EXPECT_EQ(rig.prompts.questions.size(), 2u);
  EXPECT_EQ(rig.prompts.questions[0].toStdString(), kChordExportQuestion);
  EXPECT_EQ(ReadFile(FilePath("kept.txt")), ExportChordText(rig.chords));

  // The table is the file's now: the next close asks nothing. Cancel closes without a file.
  RunEditor([](CDialog2KeyClick& editor) { editor.reject(); });
  EXPECT_EQ(rig.prompts.questions.size(), 2u);
  RunEditor([&](CDialog2KeyClick& editor) {
    Choose(editor, 0);
    Click(editor, kIdChordCut);
    rig.prompts.answer_ok = false;
    editor.reject();
    EXPECT_FALSE(editor.isVisible());
  });
  EXPECT_EQ(rig.prompts.questions.size(), 3u);
  EXPECT_EQ(rig.chords[0], ChordRecord{});
}

}  // namespace
}  // namespace qp40::test
