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

  // Imports through Ctrl+I from `path`.
  void Import(const QString& path) {
    rig.prompts.open_answer = path;
    Keys(Qt::Key_I);
  }
  // Writes `text` to the file `name` in the test folder; its path.
  QString WriteFile(const QString& name, const QByteArray& text) {
    QFile file(Path(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    return Path(name);
  }
  // The keypad's layout as exported, with key 12 of profile 1 turned from Enter into `key`.
  QString EditedExport(const QByteArray& key) {
    Export(Path("keypad.qp40.json"));
    QByteArray text = ReadAll(Path("keypad.qp40.json"));
    const QByteArray row = "[\"a\", \"Enter\", ";
    EXPECT_EQ(text.count(row), 1);
    text.replace(row, "[\"a\", \"" + key + "\", ");
    return WriteFile("edited.qp40.json", text);
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
  EXPECT_EQ(entries,
            (QStringList{QString::fromUtf8("Export Layout…\tCtrl+Shift+E"),
                         QString::fromUtf8("Import Layout…\tCtrl+I"), "Show Changes\tCtrl+D"}));
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

TEST_F(LayoutCommandsTest, AnImportMarksTheChangedKeyAsOneStepThatUndoTakesBack) {
  CMorvelDlg& window = Open();
  const Configuration loaded = rig.config;
  const std::vector<std::uint8_t> keypad_block(rig.KeypadProfileBlock().begin(),
                                               rig.KeypadProfileBlock().end());
  Import(EditedExport("Ctrl+Shift+q"));

  EXPECT_TRUE(rig.prompts.dialog_titles.empty());
  EXPECT_EQ(MarkedInRowOne(), std::vector<int>{2});
  EXPECT_TRUE(
      window.KeyButton(1, 2)->toolTip().endsWith("\nNot saved yet: the keypad holds Enter"));
  EXPECT_EQ(ShowChanges(),
            (QStringList{kChangesHeading, "profile 1, row 1, column 2: Enter -> Ctrl+Shift+q"}));
  EXPECT_EQ(window.History().UndoName(), "Import layout edited.qp40.json");
  EXPECT_EQ(window.windowTitle(), "QP40 Keyboard Configuration *");
  // Nothing reaches the keypad before a save.
  EXPECT_TRUE(
      std::equal(keypad_block.begin(), keypad_block.end(), rig.KeypadProfileBlock().begin()));

  Keys(Qt::Key_Z);
  EXPECT_TRUE(MarkedInRowOne().empty());
  EXPECT_EQ(rig.config, loaded);
  EXPECT_EQ(ShowChanges(), QStringList{kNoChanges});
}

TEST_F(LayoutCommandsTest, AFileWithProblemsChangesNothingAndListsThemAll) {
  CMorvelDlg& window = Open();
  Export(Path("keypad.qp40.json"));
  QByteArray text = ReadAll(Path("keypad.qp40.json"));
  text.replace("[\"a\", \"Enter\", ", "[\"a\", \"Entr\", ");
  // Profile 1's second row loses its first key.
  const QByteArray tab = "\"Tab\", ";
  text.remove(text.indexOf(tab), tab.size());
  const QString path = WriteFile("broken.qp40.json", text);
  const Configuration loaded = rig.config;
  const std::size_t steps = window.History().StepCount();

  QString heading;
  QStringList problems;
  rig.prompts.play = [&](QDialog& dialog) {
    const auto* list = qobject_cast<TextListDialog*>(&dialog);
    ASSERT_NE(list, nullptr);
    heading = list->Heading();
    problems = list->Lines();
  };
  Import(path);
  rig.prompts.play = nullptr;

  EXPECT_EQ(heading, "broken.qp40.json was not imported: nothing has changed.");
  EXPECT_EQ(problems,
            (QStringList{"profile 1, row 1, column 2: 'Entr' is no key name; did you mean Enter, "
                         "End, Attr?",
                         "profile 1, row 2: holds 7 keys; a row holds 8"}));
  EXPECT_EQ(rig.config, loaded);
  EXPECT_EQ(window.History().StepCount(), steps);
  EXPECT_TRUE(MarkedInRowOne().empty());
}

TEST_F(LayoutCommandsTest, TheFilesMacrosGoWithTheNextSaveAndItsChordsIntoTheChordTable) {
  CMorvelDlg& window = Open();
  ASSERT_EQ(rig.session.SaveMacroScript(5, "press    a   20\r\nrelease    a   20\r\n").status,
            MacroSaveStatus::kStored);
  rig.chords[0] = {0x16, 0x07, 0x11, 0x28, 0, 0, 0, 0};
  Export(Path("a.qp40.json"));
  const QByteArray exported = ReadAll(Path("a.qp40.json"));
  // The keypad's macro 5 and the chords change after the export; the file gives them back.
  ASSERT_EQ(rig.session.SaveMacroScript(5, "press    b   20\r\nrelease    b   20\r\n").status,
            MacroSaveStatus::kStored);
  rig.chords[0] = {};

  Import(Path("a.qp40.json"));
  EXPECT_EQ(rig.chords[0], (ChordRecord{0x16, 0x07, 0x11, 0x28, 0, 0, 0, 0}));
  EXPECT_EQ(rig.session.PendingMacros().size(), 1U);
  EXPECT_EQ(rig.session.PendingMacros().count(5), 1U);
  const QStringList changes = ShowChanges();
  ASSERT_FALSE(changes.isEmpty());
  EXPECT_TRUE(changes.last().startsWith("macro 5")) << changes.last().toStdString();
  EXPECT_EQ(window.windowTitle(), "QP40 Keyboard Configuration *");

  // The question before dropping the import names the macro that goes with the save.
  rig.prompts.choice_answers = {"Cancel"};
  Keys(Qt::Key_R);
  ASSERT_FALSE(rig.prompts.choices.empty());
  EXPECT_TRUE(
      rig.prompts.choices.back().contains("Macro 5 of the imported layout goes with the save."))
      << rig.prompts.choices.back().toStdString();

  // Undone, the macro no longer goes with a save; redone, it does again.
  Keys(Qt::Key_Z);
  EXPECT_TRUE(rig.session.PendingMacros().empty());
  Keys(Qt::Key_Y);
  EXPECT_EQ(rig.session.PendingMacros().count(5), 1U);

  // Saved, the keypad holds the file's macro: export gives the file's bytes again.
  Keys(Qt::Key_S);
  EXPECT_TRUE(rig.session.PendingMacros().empty());
  Export(Path("b.qp40.json"));
  EXPECT_EQ(ReadAll(Path("b.qp40.json")), exported);
}

}  // namespace
}  // namespace qp40::test
