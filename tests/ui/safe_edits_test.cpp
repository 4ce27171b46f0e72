// Edits the user can trust: the window's edit history, the "*" of unsaved edits and the
// questions before anything would drop them, an unplugged keypad, copy and paste of keys, the
// window's shortcuts and the read-back after a save.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "editing/key_attribute_ids.h"
#include "macros/burst_store.h"
#include "macros/string_store.h"
#include "model/backup_file.h"
#include "ui/common/clr_button.h"
#include "ui/common/device_notice_watch.h"
#include "ui/common/dialog_template.h"
#include "ui/key_editor/key_attribute_dialog.h"
#include "ui/main/main_dialog_ids.h"
#include "ui/main/small_dialogs.h"
#include "ui_fixture.h"

namespace qp40::test {
namespace {

using Record = std::array<std::uint8_t, 4>;
constexpr Record kKeyA = {0x80, 0x04, 0x00, 0x00};
constexpr Record kKeyEnter = {0x80, 0x28, 0x00, 0x00};
constexpr const char* kTitle = "QP40 Keyboard Configuration";
constexpr const char* kEditedTitle = "QP40 Keyboard Configuration *";

void Click(const CMorvelDlg& window, int id) { DialogItem<QPushButton>(window, id)->click(); }

// Opens the window on the virtual keypad and makes it active, so that its shortcuts work as
// for a user.
CMorvelDlg& OpenActive(WindowRig& rig) {
  CMorvelDlg& window = rig.Open();
  window.activateWindow();
  QApplication::processEvents();
  return window;
}

void Keys(WindowRig& rig, int key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
  QTest::keyClick(rig.dialog.get(), static_cast<Qt::Key>(key), modifiers);
}

Record WorkingAt(const WindowRig& rig, int row, int column) {
  return WorkingRecord(rig.config.working_profile, (row - 1) * 8 + (column - 1));
}

Record KeypadAt(WindowRig& rig, int row, int column) {
  const std::size_t slot = kSlotSize * kDefaultKeyCodeMap[(row - 1) * 8 + (column - 1)];
  const auto block = rig.KeypadProfileBlock();
  return {block[slot], block[slot + 1], block[slot + 2], block[slot + 3]};
}

// Runs the key dialog on key (row, column): type `type`, text `text`, OK.
void EditKey(WindowRig& rig, int row, int column, int type, const QString& text) {
  rig.prompts.play = [type, text](QDialog& dialog) {
    dialog.show();
    QApplication::processEvents();
    auto* types = DialogItem<QComboBox>(dialog, kIdKeyTypeList);
    types->setCurrentIndex(type);
    emit types->activated(type);
    auto* field = DialogItem<QLineEdit>(dialog, kIdKeyName1);
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, text);
    DialogItem<QPushButton>(dialog, kIdKeyOk)->click();
  };
  rig.dialog->OnKeyClicked(3000 + 10 * row + column);
  rig.prompts.play = nullptr;
  // The window is active again once its dialog has closed, as after a modal loop.
  rig.dialog->activateWindow();
  QApplication::processEvents();
}

// An edit that needs no dialog: the Sticky box.
void ClickSticky(WindowRig& rig) { DialogItem<QCheckBox>(*rig.dialog, kIdSticky)->click(); }

// A keypad whose key 11 types "a".
class SafeEditsTest : public ::testing::Test {
 protected:
  SafeEditsTest() { PutRecord(rig.KeypadProfileBlock(), 0, 0, kKeyA); }
  CMorvelDlg& Open() { return OpenActive(rig); }
  void Keys(int key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
    test::Keys(rig, key, modifiers);
  }
  Record WorkingAt(int row, int column) const { return test::WorkingAt(rig, row, column); }
  Record KeypadAt(int row, int column) { return test::KeypadAt(rig, row, column); }
  void EditKey(int row, int column, int type, const QString& text) {
    test::EditKey(rig, row, column, type, text);
  }
  void ClickSticky() { test::ClickSticky(rig); }

  WindowRig rig;
};

TEST_F(SafeEditsTest, UndoOfAStringKeyGivesBackTheOldKeyAndFreesTheTextAndRedoBringsItBack) {
  CMorvelDlg& window = Open();
  EXPECT_EQ(window.windowTitle(), kTitle);

  EditKey(1, 1, kTypeString, "Hello there");
  const Record edited = WorkingAt(1, 1);
  ASSERT_EQ(edited[0], kActionString);
  const std::uint8_t unit = edited[3];
  ASSERT_EQ(ReadChainedString(rig.config.string_unit_table, unit), "Hello there");
  EXPECT_EQ(window.windowTitle(), kEditedTitle);
  // The step is named by the key's label, as the grid shows it.
  EXPECT_EQ(window.History().UndoName(), "Key 11: " + window.KeyButton(1, 1)->text().toStdString());

  Keys(Qt::Key_Z);
  EXPECT_EQ(WorkingAt(1, 1), kKeyA);
  EXPECT_FALSE(ReadChainedString(rig.config.string_unit_table, unit));
  EXPECT_EQ(window.KeyButton(1, 1)->text(), "a");
  // The key keeps the keyboard focus: Enter would open it again, not another command.
  EXPECT_TRUE(window.KeyButton(1, 1)->hasFocus());
  EXPECT_EQ(window.windowTitle(), kTitle);
  EXPECT_EQ(rig.LogLines().back(), ">> Undo: Key 11: Hello the");

  Keys(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(WorkingAt(1, 1), edited);
  EXPECT_EQ(ReadChainedString(rig.config.string_unit_table, unit), "Hello there");
  EXPECT_EQ(window.windowTitle(), kEditedTitle);
  Keys(Qt::Key_Z);
  Keys(Qt::Key_Y);
  EXPECT_EQ(WorkingAt(1, 1), edited);
}

TEST_F(SafeEditsTest, EveryKindOfChangeIsOneNamedStepThatUndoTakesBack) {
  CMorvelDlg& window = Open();
  QTemporaryDir folder;
  const QString backup = QDir(folder.path()).filePath("mypad.bin");
  rig.prompts.save_answer = backup;
  Click(window, kIdBackupProfiles);
  const Configuration loaded = rig.config;

  rig.prompts.play = [](QDialog& dialog) {
    DialogItem<QComboBox>(dialog, CQlCfgModeSelect::kListId)->setCurrentIndex(1);
    DialogItem<QPushButton>(dialog, CQlCfgModeSelect::kOkId)->click();
  };
  Click(window, kIdEditProfile);
  rig.prompts.play = nullptr;
  ClickSticky();
  auto* usb = DialogItem<QComboBox>(window, kIdUsbTypeList);
  usb->setCurrentIndex(1);
  emit usb->activated(1);
  ASSERT_TRUE(window.CopyShownProfileTo(3));
  rig.prompts.open_answer = backup;
  rig.prompts.choice_answers = {"Discard"};
  Click(window, kIdLoadBackup);

  std::vector<std::string> names;
  while (window.History().CanUndo()) {
    names.push_back(window.History().UndoName());
    window.OnUndo();
  }
  EXPECT_EQ(names, (std::vector<std::string>{"Load backup mypad.bin", "Copy Profile 2 to Profile 4",
                                             "USB I/O: " + usb->itemText(1).toStdString(),
                                             "Sticky on", "Edit Profile 2"}));
  EXPECT_EQ(rig.config, loaded);
  EXPECT_EQ(DialogItem<QPushButton>(window, kIdEditProfile)->text(), "Edit Profile 1");
  EXPECT_FALSE(DialogItem<QCheckBox>(window, kIdSticky)->isChecked());
}

TEST_F(SafeEditsTest, APastedBurstKeyHasItsOwnEntryAndUndoFreesIt) {
  // Key 11 of the keypad types a burst text held in entry 0.
  PutRecord(rig.KeypadProfileBlock(), 0, 0, {kActionBurst, 0, 0, 0});
  auto burst = rig.keypad.BlockData(kBurstBlockFirst);
  std::fill(burst.begin(), burst.end(), 0xFF);
  std::copy_n("burst", 6, burst.begin());
  CMorvelDlg& window = Open();

  window.KeyButton(1, 1)->setFocus();
  QTest::keyClick(window.KeyButton(1, 1), Qt::Key_C, Qt::ControlModifier);
  window.KeyButton(1, 2)->setFocus();
  QTest::keyClick(window.KeyButton(1, 2), Qt::Key_V, Qt::ControlModifier);

  const Record pasted = WorkingAt(1, 2);
  ASSERT_EQ(pasted[0], kActionBurst);
  EXPECT_NE(pasted[3], 0);
  EXPECT_EQ(ReadBurstText(rig.config.burst_table, pasted[3]), "burst");
  EXPECT_EQ(window.KeyButton(1, 2)->text(), window.KeyButton(1, 1)->text());
  EXPECT_EQ(window.History().UndoName(),
            "Paste on key 12: " + window.KeyButton(1, 2)->text().toStdString());

  window.OnUndo();
  EXPECT_EQ(rig.config.burst_table[pasted[3] * kTextEntrySize], kFreeBurstEntry);
  EXPECT_EQ(ReadBurstText(rig.config.burst_table, 0), "burst");
}

// What a path that would drop unsaved edits does with each answer.
struct DiscardPath {
  const char* name;
  std::function<void(WindowRig&, CMorvelDlg&)> run;
  // True when the path went through (the window closed, the keypad was reloaded, …).
  std::function<bool(WindowRig&)> went_through;
};

TEST_F(SafeEditsTest, EachPathThatWouldDropEditsAsksAndSavesDiscardsOrCancels) {
  const std::vector<DiscardPath> paths = {
      {"close box", [](WindowRig&, CMorvelDlg& w) { w.close(); },
       [](WindowRig& rig) { return !rig.dialog->isVisible(); }},
      {"Escape",
       [](WindowRig& rig, CMorvelDlg&) { test::Keys(rig, Qt::Key_Escape, Qt::NoModifier); },
       [](WindowRig& rig) { return !rig.dialog->isVisible(); }},
      {"Close&Reboot", [](WindowRig&, CMorvelDlg& w) { Click(w, kIdCloseReboot); },
       [](WindowRig& rig) { return rig.keypad.RebootCount() == 1; }},
      {"Load Profiles Onboard", [](WindowRig&, CMorvelDlg& w) { Click(w, kIdLoadProfilesOnboard); },
       [](WindowRig& rig) { return !rig.dialog->History().CanUndo(); }},
      {"Load Backup", [](WindowRig&, CMorvelDlg& w) { Click(w, kIdLoadBackup); },
       [](WindowRig& rig) { return rig.prompts.file_filters.size() == 1; }},
      {"Restore Factory Settings", [](WindowRig&, CMorvelDlg& w) { Click(w, kIdRestoreFactory); },
       [](WindowRig& rig) { return rig.prompts.dialog_titles.size() == 1; }},
      {"selecting the profile on screen",
       [](WindowRig& rig, CMorvelDlg& w) {
         rig.prompts.play = [](QDialog& dialog) {
           DialogItem<QPushButton>(dialog, CQlCfgModeSelect::kOkId)->click();
         };
         Click(w, kIdEditProfile);
       },
       // The working copy holds profile 1 as the image has it: reverted, or saved first.
       [](WindowRig& rig) {
         return ReadWorkingProfile(rig.config.working_profile) == ReadProfile(rig.config, 0);
       }},
  };
  for (const DiscardPath& path : paths) {
    for (const char* answer : {"Cancel", "Discard", "Save"}) {
      SCOPED_TRACE(std::string(path.name) + ": " + answer);
      WindowRig fresh;
      PutRecord(fresh.KeypadProfileBlock(), 0, 0, kKeyA);
      CMorvelDlg& window = OpenActive(fresh);
      test::EditKey(fresh, 1, 1, kTypeKeyboard, "Enter");
      ASSERT_EQ(window.windowTitle(), kEditedTitle);
      fresh.prompts.dialog_titles.clear();
      fresh.prompts.choice_answers = {answer};

      path.run(fresh, window);

      ASSERT_EQ(fresh.prompts.choices.size(), 1u);
      EXPECT_TRUE(fresh.prompts.choices[0].endsWith("[Save|Discard|Cancel]"));
      const bool cancelled = std::string(answer) == "Cancel";
      EXPECT_EQ(path.went_through(fresh), !cancelled);
      EXPECT_EQ(test::KeypadAt(fresh, 1, 1), std::string(answer) == "Save" ? kKeyEnter : kKeyA);
      if (cancelled) {
        EXPECT_EQ(test::WorkingAt(fresh, 1, 1), kKeyEnter);
        EXPECT_TRUE(window.isVisible());
        EXPECT_EQ(window.windowTitle(), kEditedTitle);
      }
    }
  }
}

TEST_F(SafeEditsTest, AKeypadGoneDuringASaveStopsItAndKeepsTheEditsUntilItIsBack) {
  CMorvelDlg& window = Open();
  EditKey(1, 1, kTypeKeyboard, "Enter");
  const auto requests = rig.keypad.RequestCount();
  rig.keypad.AddFault({sim::FaultKind::kGone, requests + 9});

  Keys(Qt::Key_S);

  // The save stopped at the first gone answer.
  EXPECT_EQ(rig.keypad.RequestCount(), requests + 9);
  EXPECT_FALSE(rig.link.Connected());
  const auto lines = rig.LogLines();
  EXPECT_EQ(lines.back(), ">> Keypad removed");
  EXPECT_EQ(std::count(lines.begin(), lines.end(), std::string("ERROR:WRITE Device ")), 1);
  for (int id : {kIdSaveProfilesOnboard, kIdLoadProfilesOnboard, kIdMacroScriptEdit, kIdCloseReboot,
                 kIdRestoreFactory}) {
    EXPECT_FALSE(DialogItem(window, id)->isEnabled()) << id;
  }
  EXPECT_TRUE(DialogItem(window, kIdBackupProfiles)->isEnabled());
  EXPECT_EQ(WorkingAt(1, 1), kKeyEnter);
  EXPECT_EQ(window.KeyButton(1, 1)->text(), "Enter");
  EXPECT_EQ(window.windowTitle(), kEditedTitle);

  // Plugged in again: the user keeps the edits, and may save them now.
  rig.keypad.SetGone(false);
  rig.prompts.choice_answers = {"Keep"};
  window.OnDeviceChange(kDeviceNodesChanged);
  ASSERT_EQ(rig.prompts.choices.size(), 1u);
  EXPECT_TRUE(rig.prompts.choices[0].endsWith("[Load|Keep]"));
  EXPECT_TRUE(rig.link.Connected());
  EXPECT_EQ(WorkingAt(1, 1), kKeyEnter);
  Click(window, kIdSaveProfilesOnboard);
  EXPECT_EQ(KeypadAt(1, 1), kKeyEnter);
  EXPECT_EQ(window.windowTitle(), kTitle);
}

TEST_F(SafeEditsTest, ADeviceNoticeForTheKeypadEndsTheConnectionAndAReplugWithoutEditsLoads) {
  CMorvelDlg& window = Open();
  window.OnDeviceRemoved("/dev/hidraw9");
  EXPECT_TRUE(rig.link.Connected());

  window.OnDeviceRemoved(sim::kSimPath);
  EXPECT_FALSE(rig.link.Connected());
  EXPECT_EQ(rig.LogLines().back(), ">> Keypad removed");

  const auto requests = rig.keypad.RequestCount();
  window.OnDeviceChange(kDeviceNodesChanged);
  EXPECT_TRUE(rig.link.Connected());
  EXPECT_TRUE(rig.prompts.choices.empty());
  EXPECT_EQ(rig.keypad.RequestCount(), requests + 321);

  // With edits, the user may load the keypad's configuration instead, dropping them.
  EditKey(1, 1, kTypeKeyboard, "Enter");
  window.OnDeviceRemoved(sim::kSimPath);
  rig.prompts.choice_answers = {"Load"};
  window.OnDeviceChange(kDeviceNodesChanged);
  EXPECT_EQ(WorkingAt(1, 1), kKeyA);
  EXPECT_EQ(window.windowTitle(), kTitle);
}

TEST_F(SafeEditsTest, ASaveThatDoesNotReadBackAsWrittenIsReportedAndStaysUnsaved) {
  CMorvelDlg& window = Open();
  ClickSticky();
  // The flip hits the first page of the profile block, after its prepare.
  rig.keypad.AddFault({sim::FaultKind::kFlip, rig.keypad.RequestCount() + 2});

  Click(window, kIdSaveProfilesOnboard);

  EXPECT_EQ(rig.LogLines().back(), ">> Check Device #28: differs from what was saved");
  ASSERT_EQ(rig.prompts.messages.size(), 1u);
  EXPECT_TRUE(rig.prompts.messages[0].startsWith(
      "After the save, the keypad does not hold what was written to #28 "));
  EXPECT_EQ(window.windowTitle(), kEditedTitle);

  // Saved again, the keypad holds it and the "*" goes.
  Click(window, kIdSaveProfilesOnboard);
  EXPECT_EQ(rig.prompts.messages.size(), 1u);
  EXPECT_EQ(window.windowTitle(), kTitle);
}

TEST_F(SafeEditsTest, ShortcutsRunTheirCommandsSayWhatTheyAreAndWaitWhileADialogIsOpen) {
  CMorvelDlg& window = Open();
  EXPECT_TRUE(DialogItem(window, kIdSaveProfilesOnboard)->toolTip().contains("Ctrl+S"));
  EXPECT_TRUE(DialogItem(window, kIdLoadProfilesOnboard)->toolTip().contains("Ctrl+R"));

  Keys(Qt::Key_E);
  EXPECT_EQ(rig.prompts.dialog_titles, std::vector<QString>{"Select Profile Onboard "});

  // While the About box is open, Ctrl+R does not reload.
  const auto requests = rig.keypad.RequestCount();
  rig.prompts.play = [this](QDialog&) { Keys(Qt::Key_R); };
  window.OnSysCommand(kIdAboutCommand);
  EXPECT_EQ(rig.keypad.RequestCount(), requests);
  rig.prompts.play = nullptr;
  Keys(Qt::Key_R);
  EXPECT_EQ(rig.keypad.RequestCount(), requests + 321);
}

TEST_F(SafeEditsTest, TheProfileListMarksProfilesWithUnsavedEdits) {
  CMorvelDlg& window = Open();
  ClickSticky();
  ASSERT_TRUE(window.CopyShownProfileTo(2));
  QStringList items;
  rig.prompts.play = [&items](QDialog& dialog) {
    auto* list = DialogItem<QComboBox>(dialog, CQlCfgModeSelect::kListId);
    for (int i = 0; i < list->count(); ++i) items << list->itemText(i);
    dialog.reject();
  };
  Click(window, kIdEditProfile);
  EXPECT_EQ(items, (QStringList{"0# User Profile 1 *", "1# User Profile 2", "2# User Profile 3 *",
                                "3# User Profile 4"}));
}

}  // namespace
}  // namespace qp40::test
