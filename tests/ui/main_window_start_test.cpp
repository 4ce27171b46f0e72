// The window at start: captions, lists, help lines, and the first search for the keypad.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

#include "keys/key_words.h"
#include "sim/factory_image.h"
#include "ui/common/busy_dialog.h"
#include "ui/common/clr_button.h"
#include "ui/common/dialog_template.h"
#include "ui/main/main_dialog_ids.h"
#include "ui_fixture.h"

namespace qp40::test {
namespace {

const std::vector<std::string> kHelpLines = {
    "Step 1. Press down and hold Key18(top-right). Next,connect USB port on PC. After 1st LED be "
    "GREEN and Blink, the device worked on configuration mode.",
    "Step 2. Run configuration software on PC, the software will load profile1 automatically",
    "Step 3. Click the key/button you want to change, follow the guides to configure it.",
    "Step 4. Click <Save Profile Onboard>, save the update onboard.",
    "Step 5. Click button < Close and Reboot>, device will reboot to normal working mode. Or "
    "disconnect USB port.",
    "<Load Profiles onboard>  Load profile1~4 onboard again. ",
    "<Edit Profile>           Load and edit one profile.",
    "<Save Profiles onboard>  Save all data to device.",
    "<End and Reboot>         End configuration and reboot the device.",
    "<Load Backup>            Load backup file from PC.",
    "<Backup Profiles>        Save all device data to PC as one backup.",
};

constexpr int kDeviceCommands[] = {kIdLoadProfilesOnboard, kIdEditProfile, kIdSaveProfilesOnboard,
                                   kIdBackupProfiles,      kIdCloseReboot, kIdMacroScriptEdit,
                                   kIdRestoreFactory,      kIdChordEditor};

QStringList Items(const QComboBox& list) {
  QStringList items;
  for (int i = 0; i < list.count(); ++i) items << list.itemText(i);
  return items;
}

TEST(MainWindowStart, WithoutKeypadTheLogHoldsExactlyTheHelpLinesAndDeviceCommandsStayOff) {
  WindowRig rig(/*plugged=*/false);
  CMorvelDlg& dialog = rig.Open();

  EXPECT_EQ(rig.LogLines(), kHelpLines);
  std::string expected_text;
  for (const std::string& line : kHelpLines) expected_text += line + "      (09:03:07)\r\n";
  EXPECT_EQ(rig.log.Text(), expected_text);

  for (int id : kDeviceCommands) {
    EXPECT_FALSE(DialogItem(dialog, id)->isEnabled()) << id;
  }
  EXPECT_TRUE(DialogItem(dialog, kIdLoadBackup)->isEnabled());
  EXPECT_FALSE(DialogItem(dialog, kIdChordEditor)->isHidden());
  EXPECT_EQ(rig.keypad.RequestCount(), 0u);
}

TEST(MainWindowStart, CaptionsListsAndKeyNumbersAreSetUp) {
  WindowRig rig(/*plugged=*/false);
  CMorvelDlg& dialog = rig.Open();

  EXPECT_EQ(dialog.windowTitle(), "QP40 Keyboard Configuration");
  const std::pair<int, const char*> captions[] = {
      {kIdLoadProfilesOnboard, "Load Profiles Onboard"},
      {kIdEditProfile, "Edit Profile"},
      {kIdLoadBackup, "Load Backup"},
      {kIdSaveProfilesOnboard, "Save Profiles Onboard"},
      {kIdBackupProfiles, "Backup Profiles"},
      {kIdCloseReboot, "Close&&Reboot"},
      {kIdMacroScriptEdit, "Macro Script Edit"},
      {kIdRestoreFactory, "Restore Factory Settings"},
      {kIdTyping, "Typing"},
      {kIdBacklight, "Backlight"},
      {kIdSticky, "Sticky"},
  };
  for (const auto& [id, caption] : captions) {
    EXPECT_EQ(DialogItem<QAbstractButton>(dialog, id)->text(), caption) << id;
  }
  EXPECT_TRUE(DialogItem<QPushButton>(dialog, kIdSaveProfilesOnboard)->isDefault());

  const auto* board = DialogItem<QComboBox>(dialog, kIdBoardTypeList);
  const auto* path = DialogItem<QComboBox>(dialog, kIdPathTypeList);
  const auto* usb = DialogItem<QComboBox>(dialog, kIdUsbTypeList);
  EXPECT_EQ(Items(*board), QStringList({"0# 48Key", "1# 46Key", "3# 44Key", "4# 43Key"}));
  EXPECT_EQ(Items(*path), QStringList({"0# USB", "1# BlueTooth", "2# Mirror"}));
  EXPECT_EQ(Items(*usb), QStringList({"0# Basic", "1# Gaming"}));
  EXPECT_EQ(board->currentIndex(), 0);
  EXPECT_EQ(path->currentIndex(), 0);
  EXPECT_EQ(usb->currentIndex(), 0);

  EXPECT_EQ(dialog.KeyButton(1, 1)->text(), "11");
  EXPECT_EQ(dialog.KeyButton(6, 8)->text(), "68");
  EXPECT_EQ(dialog.KeyButton(3, 5)->text(), "35");
  EXPECT_EQ(dialog.KeyLabelEntry(4, 7), "NULL");
  EXPECT_EQ(dialog.HighlightFlag(4, 7), 0);
}

TEST(MainWindowStart, AnAttachedKeypadIsOpenedLoadedAndEnablesTheDeviceCommands) {
  WindowRig rig;
  CMorvelDlg& dialog = rig.Open();

  const std::vector<std::string> lines = rig.LogLines();
  ASSERT_GT(lines.size(), kHelpLines.size());
  const std::vector<std::string> after_help(lines.begin() + kHelpLines.size(), lines.end());
  const std::vector<std::string> expected = {
      ">> Device READ Openned \n",
      ">> Device WRITE Openned \n",
      ">> Found one Keypad and Openned 1",
      "<< DeviceID: 04.b4.08.20.51.50.34.30.01.00.00.30.00.00.00.00.",
      ">> Screen DPI = 96, ZOOM= 1.000000",
      ">> Firmware Version: vff",
  };
  EXPECT_EQ(after_help, expected);

  EXPECT_TRUE(rig.link.Connected());
  for (int id : kDeviceCommands) {
    EXPECT_TRUE(DialogItem(dialog, id)->isEnabled()) << id;
  }
  EXPECT_FALSE(DialogItem(dialog, kIdChordEditor)->isHidden());
  EXPECT_EQ(DialogItem<QPushButton>(dialog, kIdEditProfile)->text(), "Edit Profile 1");

  // The grid shows User Profile 1 of the keypad: the keys as shipped, row by row.
  for (int position : {0, 7, 16, 47}) {
    const int row = position / 8 + 1;
    const int column = position % 8 + 1;
    const auto name = CodeToName(sim::kFactoryKeyUsages[position], "HID");
    EXPECT_EQ(dialog.KeyButton(row, column)->text().toStdString(), std::string(name).substr(0, 9))
        << position;
  }
}

TEST(MainWindowStart, ProgressMovesAndTheWindowRepaintsWhileTheKeypadIsRead) {
  WindowRig rig;
  QString busy_text;
  int most_pages = 0;
  // Runs whenever the load lets events through; a frozen window would never run it.
  QTimer watcher;
  watcher.setInterval(0);
  QObject::connect(&watcher, &QTimer::timeout, [&] {
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (auto* busy = qobject_cast<BusyDialog*>(window); busy != nullptr && busy->isVisible()) {
        busy_text = busy->Text();
        most_pages = std::max(most_pages, busy->PagesDone());
      }
    }
  });
  watcher.start();
  rig.Open();
  watcher.stop();

  EXPECT_EQ(busy_text, "Loading Data from device ......");
  EXPECT_EQ(most_pages, CMorvelDlg::kPagesPerTransfer);
}

}  // namespace
}  // namespace qp40::test
