// The window's "History…": the snapshots listed and compared with the window, and put back as
// one undo step each.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>

#include "ui/common/clr_button.h"
#include "ui/common/dialog_template.h"
#include "ui/main/history_dialog.h"
#include "ui/main/main_dialog_ids.h"
#include "ui/main/text_list_dialog.h"
#include "ui_fixture.h"

namespace qp40::test {
namespace {

constexpr std::array<std::uint8_t, 4> kKeyA = {0x80, 0x04, 0x00, 0x00};
constexpr std::array<std::uint8_t, 4> kKeyEnter = {0x80, 0x28, 0x00, 0x00};

QPushButton* ButtonNamed(QDialog& dialog, const QString& text) {
  for (auto* button : dialog.findChildren<QPushButton*>()) {
    if (button->text() == text) return button;
  }
  ADD_FAILURE() << "no button " << text.toStdString();
  return nullptr;
}

// What the history dialog showed, and the click the test made in it.
struct Shown {
  QString heading;  // of the dialog that says there is no history
  QStringList lines;
  QString changes;
  bool restore_enabled = false;
};

// A keypad whose key 11 types "a" and key 12 Enter, its history in a folder of the test.
class HistoryCommandTest : public ::testing::Test {
 protected:
  HistoryCommandTest() {
    PutRecord(rig.KeypadProfileBlock(), 0, 0, kKeyA);
    PutRecord(rig.KeypadProfileBlock(), 0, 1, kKeyEnter);
    rig.session.SetHistoryRoot(std::filesystem::path(folder.path().toStdString()));
  }

  CMorvelDlg& Open() {
    CMorvelDlg& window = rig.Open();
    window.activateWindow();
    QApplication::processEvents();
    return window;
  }
  void Keys(int key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
    rig.dialog->activateWindow();
    QApplication::processEvents();
    QTest::keyClick(rig.dialog.get(), static_cast<Qt::Key>(key), modifiers);
  }

  // Ctrl+H: chooses snapshot row `row` and clicks `button` (nothing closes the dialog).
  Shown History(int row = -1, const QString& button = {}, int profile = 0) {
    Shown shown;
    rig.prompts.play = [&](QDialog& dialog) {
      if (const auto* none = qobject_cast<TextListDialog*>(&dialog)) {
        shown.heading = none->Heading();
        return;
      }
      auto* history = qobject_cast<HistoryDialog*>(&dialog);
      ASSERT_NE(history, nullptr);
      for (int index = 0; index < history->List()->count(); ++index) {
        shown.lines << history->List()->item(index)->text();
      }
      if (row >= 0) history->List()->setCurrentRow(row);
      history->ProfileChoice()->setCurrentIndex(profile);
      shown.changes = history->ChangesText();
      shown.restore_enabled = ButtonNamed(dialog, "Restore")->isEnabled();
      if (!button.isEmpty()) ButtonNamed(dialog, button)->click();
    };
    Keys(Qt::Key_H);
    rig.prompts.play = nullptr;
    return shown;
  }

  // Loads the keypad, pastes key 11 onto key 12 and saves, then pastes it onto key 13 too,
  // unsaved: the history holds the load and the save.
  CMorvelDlg& LoadSaveAndEdit() {
    CMorvelDlg& window = Open();
    window.CopyKey(1, 1);
    EXPECT_TRUE(window.PasteKey(1, 2));
    Keys(Qt::Key_S);
    EXPECT_TRUE(window.PasteKey(1, 3));
    return window;
  }

  std::vector<int> MarkedInRowOne() const {
    std::vector<int> marked;
    for (int column = 1; column <= 8; ++column) {
      if (rig.dialog->KeyButton(1, column)->Marked()) marked.push_back(column);
    }
    return marked;
  }

  WindowRig rig;
  QTemporaryDir folder;
};

TEST_F(HistoryCommandTest, TheButtonSitsInTheProfilesGroupBesidePicture) {
  CMorvelDlg& window = Open();
  const auto* button = DialogItem<QPushButton>(window, kIdHistory);
  EXPECT_EQ(button->text(), QString::fromUtf8("History…"));
  const auto* picture = DialogItem<QPushButton>(window, kIdPicture);
  const auto* reboot = DialogItem<QPushButton>(window, kIdCloseReboot);
  EXPECT_EQ(button->y(), picture->y());
  EXPECT_EQ(button->x(), reboot->x());
  EXPECT_TRUE(button->isEnabled());
}

TEST_F(HistoryCommandTest, ListsEachSnapshotWithItsSummaryAndComparesItWithTheWindow) {
  LoadSaveAndEdit();
  const Shown shown = History(0);
  ASSERT_EQ(shown.lines.size(), 2);
  EXPECT_TRUE(shown.lines[0].contains(" load  first snapshot")) << shown.lines[0].toStdString();
  EXPECT_TRUE(shown.lines[1].contains(" save  1 key changed")) << shown.lines[1].toStdString();
  EXPECT_TRUE(shown.lines[0].trimmed().startsWith("1  "));
  // The load against the window: both pasted keys go back.
  EXPECT_EQ(shown.changes.split('\n').size(), 2);
  EXPECT_TRUE(shown.changes.startsWith("profile 1, row 1, column 2: a -> Enter\n"))
      << shown.changes.toStdString();
  EXPECT_TRUE(shown.restore_enabled);
  // The newest comes up first; nothing is restored when the dialog just closes.
  const Shown newest = History();
  EXPECT_TRUE(newest.changes.startsWith("profile 1, row 1, column 3: a -> "))
      << newest.changes.toStdString();
  EXPECT_EQ(MarkedInRowOne(), std::vector<int>{3});
}

struct RestoreCase {
  const char* button;
  int profile;
  std::vector<int> marked;             // after the load is restored
  std::vector<int> marked_after_undo;  // one undo later
};

class HistoryRestoreTest : public HistoryCommandTest,
                           public ::testing::WithParamInterface<RestoreCase> {};

TEST_P(HistoryRestoreTest, RestoringTheLoadIsOneUndoStepThatTheUserThenSaves) {
  LoadSaveAndEdit();
  History(0, GetParam().button, GetParam().profile);
  EXPECT_EQ(MarkedInRowOne(), GetParam().marked);
  EXPECT_TRUE(rig.dialog->windowTitle().endsWith(" *"));
  Keys(Qt::Key_Z);
  EXPECT_EQ(MarkedInRowOne(), GetParam().marked_after_undo);
}

INSTANTIATE_TEST_SUITE_P(Scopes, HistoryRestoreTest,
                         ::testing::Values(RestoreCase{"Restore", 0, {2}, {3}},
                                           RestoreCase{"Restore profile 1", 0, {2}, {3}},
                                           // Profile 2 is as it was: nothing changes, so no step is
                                           // recorded and the undo takes back the last paste.
                                           RestoreCase{"Restore profile 2", 1, {3}, {}}));

TEST_F(HistoryCommandTest, RestoreMacrosPutsBackTheMacrosAloneForTheNextSave) {
  CMorvelDlg& window = Open();
  ASSERT_EQ(rig.session.SaveMacroScript(5, "press    a   20\r\nrelease    a   20\r\n").status,
            MacroSaveStatus::kStored);
  const MacroBuffer first = rig.session.LoadMacroBuffer(5)->buffer;
  ASSERT_TRUE(rig.session.ReadMacros());
  window.CopyKey(1, 1);
  ASSERT_TRUE(window.PasteKey(1, 2));
  Keys(Qt::Key_S);
  ASSERT_EQ(rig.session.SaveMacroScript(5, "press    b   20\r\nrelease    b   20\r\n").status,
            MacroSaveStatus::kStored);
  ASSERT_TRUE(window.PasteKey(1, 3));

  const Shown shown = History(-1, "Restore macros");
  EXPECT_TRUE(shown.changes.contains("macro 5, line 1: press    b   20   -> press    a   20  "))
      << shown.changes.toStdString();
  EXPECT_EQ(rig.session.PendingMacros().count(5), 1U);
  EXPECT_EQ(MarkedInRowOne(), std::vector<int>{3});
  Keys(Qt::Key_Z);
  EXPECT_TRUE(rig.session.PendingMacros().empty());
  Keys(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  Keys(Qt::Key_S);
  EXPECT_EQ(rig.session.LoadMacroBuffer(5)->buffer, first);
}

TEST_F(HistoryCommandTest, ASnapshotThatCannotBeReadIsListedAndCannotBeRestored) {
  LoadSaveAndEdit();
  const std::vector<Snapshot> snapshots = rig.session.KeypadHistory()->List();
  ASSERT_EQ(snapshots.size(), 2U);
  QFile file(QString::fromStdString(snapshots[0].path.string()));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write("{\"format\": ");
  file.close();

  const Shown shown = History(0, "Restore");
  EXPECT_TRUE(shown.lines[0].contains(" load  cannot be read")) << shown.lines[0].toStdString();
  // The save is then summarised against nothing before it.
  EXPECT_TRUE(shown.lines[1].contains(" save  first snapshot")) << shown.lines[1].toStdString();
  EXPECT_EQ(shown.changes, "This snapshot cannot be read: it cannot be restored.");
  EXPECT_FALSE(shown.restore_enabled);
  EXPECT_EQ(MarkedInRowOne(), std::vector<int>{3});
}

TEST_F(HistoryCommandTest, WithoutHistoryTheDialogSaysWhy) {
  {
    rig.transport.plugged = false;
    Open();
    EXPECT_EQ(History().heading, "No keypad has been loaded: there is no history to show.");
  }
  WindowRig no_folder;
  no_folder.Open();
  no_folder.prompts.play = [](QDialog& dialog) {
    const auto* none = qobject_cast<TextListDialog*>(&dialog);
    ASSERT_NE(none, nullptr);
    EXPECT_EQ(none->Heading(), "No data folder is known: no history of the keypad is kept.");
  };
  no_folder.dialog->activateWindow();
  QApplication::processEvents();
  QTest::keyClick(no_folder.dialog.get(), Qt::Key_H, Qt::ControlModifier);
  EXPECT_EQ(no_folder.prompts.dialog_titles.back(), "History");
}

}  // namespace
}  // namespace qp40::test
