// The window's layout commands: the marks of keys the keypad does not hold yet, "Show Changes",
// and the layout file's export and import.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "layout/layout_file.h"
#include "ui/common/clr_button.h"
#include "ui/common/dialog_template.h"
#include "ui/main/main_dialog_ids.h"
#include "ui/main/small_dialogs.h"
#include "ui/main/text_list_dialog.h"
#include "ui_fixture.h"

namespace qp40::test {
namespace {

using Record = std::array<std::uint8_t, 4>;
constexpr Record kKeyA = {0x80, 0x04, 0x00, 0x00};
constexpr Record kKeyEnter = {0x80, 0x28, 0x00, 0x00};
constexpr const char* kNoChanges = "No unsaved changes";
constexpr const char* kChangesHeading = "\"Save Profiles Onboard\" would change on the keypad:";

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A keypad whose key 11 types "a" and key 12 Enter.
class LayoutCommandsTest : public ::testing::Test {
 protected:
  LayoutCommandsTest() {
    PutRecord(rig.KeypadProfileBlock(), 0, 0, kKeyA);
    PutRecord(rig.KeypadProfileBlock(), 0, 1, kKeyEnter);
  }

  CMorvelDlg& Open() {
    CMorvelDlg& window = rig.Open();
    window.activateWindow();
    QApplication::processEvents();
    return window;
  }
  // A shortcut pressed on the window, active again as after any dialog.
  void Keys(int key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
    rig.dialog->activateWindow();
    QApplication::processEvents();
    QTest::keyClick(rig.dialog.get(), static_cast<Qt::Key>(key), modifiers);
  }
  QString Path(const QString& name) const { return QDir(folder.path()).filePath(name); }

  // What "Show Changes" (Ctrl+D) shows: its heading, then its lines.
  QStringList ShowChanges() {
    QStringList shown;
    rig.prompts.play = [&shown](QDialog& dialog) {
      const auto* list = qobject_cast<TextListDialog*>(&dialog);
      ASSERT_NE(list, nullptr);
      shown << list->Heading() << list->Lines();
    };
    Keys(Qt::Key_D);
    rig.prompts.play = nullptr;
    EXPECT_EQ(rig.prompts.dialog_titles.back(), "Show Changes");
    return shown;
  }

  // Exports through Ctrl+Shift+E to `path`.
  void Export(const QString& path) {
    rig.prompts.save_answer = path;
    Keys(Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier);
  }

  // The marked keys of the first row.
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

TEST_F(LayoutCommandsTest, TheLayoutButtonOpensItsMenuInTheProfilesGroup) {
  CMorvelDlg& window = Open();
  auto* button = DialogItem<QPushButton>(window, kIdLayoutMenu);
  EXPECT_EQ(button->text(), QString::fromUtf8("Layout…"));
  ASSERT_NE(button->menu(), nullptr);
  QStringList entries;
  for (const QAction* action : button->menu()->actions()) entries << action->text();
  EXPECT_EQ(entries, (QStringList{QString::fromUtf8("Export Layout…\tCtrl+Shift+E"),
                                  "Show Changes\tCtrl+D"}));
  // It sits under "Backup Profiles", beside "TwoKeyClick Editor".
  const auto* backup = DialogItem<QPushButton>(window, kIdBackupProfiles);
  const auto* chords = DialogItem<QPushButton>(window, kIdChordEditor);
  EXPECT_EQ(button->x(), backup->x());
  EXPECT_EQ(button->y(), chords->y());
}

TEST_F(LayoutCommandsTest, AChangedKeyIsMarkedAndListedUntilUndoneOrSaved) {
  CMorvelDlg& window = Open();
  EXPECT_TRUE(MarkedInRowOne().empty());
  EXPECT_EQ(ShowChanges(), QStringList{kNoChanges});

  window.CopyKey(1, 1);
  ASSERT_TRUE(window.PasteKey(1, 2));
  EXPECT_EQ(MarkedInRowOne(), std::vector<int>{2});
  EXPECT_TRUE(
      window.KeyButton(1, 2)->toolTip().endsWith("\nNot saved yet: the keypad holds Enter"));
  EXPECT_FALSE(window.KeyButton(1, 1)->toolTip().contains("Not saved"));
  const QStringList changed = {kChangesHeading, "profile 1, row 1, column 2: Enter -> a"};
  EXPECT_EQ(ShowChanges(), changed);

  Keys(Qt::Key_Z);
  EXPECT_TRUE(MarkedInRowOne().empty());
  EXPECT_FALSE(window.KeyButton(1, 2)->toolTip().contains("Not saved"));
  EXPECT_EQ(ShowChanges(), QStringList{kNoChanges});

  Keys(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(MarkedInRowOne(), std::vector<int>{2});

  // Another profile on screen: its keys agree with the keypad, the list still names the change.
  rig.prompts.play = [](QDialog& dialog) {
    DialogItem<QComboBox>(dialog, CQlCfgModeSelect::kListId)->setCurrentIndex(1);
    DialogItem<QPushButton>(dialog, CQlCfgModeSelect::kOkId)->click();
  };
  DialogItem<QPushButton>(window, kIdEditProfile)->click();
  rig.prompts.play = nullptr;
  EXPECT_TRUE(MarkedInRowOne().empty());
  EXPECT_EQ(ShowChanges(), changed);
  Keys(Qt::Key_Z);
  EXPECT_EQ(MarkedInRowOne(), std::vector<int>{2});

  Keys(Qt::Key_S);
  EXPECT_TRUE(MarkedInRowOne().empty());
  EXPECT_EQ(ShowChanges(), QStringList{kNoChanges});
}

TEST_F(LayoutCommandsTest, BeforeTheKeypadIsReadNothingIsMarkedOrCompared) {
  rig.transport.plugged = false;
  CMorvelDlg& window = Open();
  window.CopyKey(1, 1);
  ASSERT_TRUE(window.PasteKey(1, 2));
  EXPECT_TRUE(MarkedInRowOne().empty());
  EXPECT_EQ(ShowChanges(),
            QStringList{"The keypad has not been read yet: there is nothing to compare with."});
}

TEST_F(LayoutCommandsTest, ExportWritesTheCanonicalLayoutOfTheWindowWithMacrosAndChords) {
  CMorvelDlg& window = Open();
  ASSERT_EQ(rig.session.SaveMacroScript(5, "press    a   20\r\nrelease    a   20\r\n").status,
            MacroSaveStatus::kStored);
  rig.chords[0] = {0x16, 0x07, 0x11, 0x28, 0, 0, 0, 0};
  window.CopyKey(1, 1);
  ASSERT_TRUE(window.PasteKey(1, 2));

  Export(Path("a.qp40.json"));
  EXPECT_EQ(rig.prompts.file_filters.back(), "Layout File(*.qp40.json)|qp40.json");
  const QByteArray text = ReadAll(Path("a.qp40.json"));
  const LayoutParse parsed = ParseLayoutText(text.toStdString());
  ASSERT_TRUE(parsed.layout) << (parsed.problems.empty() ? "" : parsed.problems.front());
  EXPECT_EQ(LayoutText(*parsed.layout), text.toStdString());
  // The window's unsaved key goes with it, as shown.
  EXPECT_EQ(parsed.layout->profiles[0].keys[1], "a");
  ASSERT_EQ(parsed.layout->macros.count(5), 1U);
  EXPECT_EQ(parsed.layout->macros.at(5).lines.size(), 2U);
  ASSERT_TRUE(parsed.layout->chords);
  EXPECT_EQ((*parsed.layout->chords)[0], rig.chords[0]);
  EXPECT_FALSE(parsed.layout->identity.empty());
  EXPECT_EQ(rig.LogLines().back(), ">> Layout exported: a.qp40.json");
  EXPECT_TRUE(rig.prompts.messages.empty());
}

TEST_F(LayoutCommandsTest, AnExportThatCannotBeWrittenSaysSoAndLeavesNoFile) {
  Open();
  Export(Path("missing/a.qp40.json"));
  ASSERT_EQ(rig.prompts.messages.size(), 1U);
  EXPECT_TRUE(rig.prompts.messages.back().contains("could not be written"));
  EXPECT_FALSE(QFile::exists(Path("missing/a.qp40.json")));
}

}  // namespace
}  // namespace qp40::test
