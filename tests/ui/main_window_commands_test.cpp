// The commands of the main window: board settings, profiles, save, backups, reboot, notices.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <algorithm>
#include <fstream>

#include "ui/common/clr_button.h"
#include "ui/common/device_notice_watch.h"
#include "ui/common/dialog_template.h"
#include "ui/main/main_dialog_ids.h"
#include "ui/main/small_dialogs.h"
#include "ui_fixture.h"

namespace qp40::test {
namespace {

constexpr std::array<std::uint8_t, 4> kKeyB = {0x80, 0x05, 0x00, 0x00};
constexpr std::array<std::uint8_t, 4> kDisabledKey = {0x8F, 0x00, 0x00, 0x00};

const std::vector<std::string> kSaveLines = {
    ">> Save Burst Data to Device #30",
    ">> Save Burst Data to Device #31",
    ">> Save String Data to Device #32",
    ">> Save String Data to Device #33",
};

void Click(const CMorvelDlg& dialog, int id) { DialogItem<QPushButton>(dialog, id)->click(); }

QString Caption(const CMorvelDlg& dialog, int id) {
  return DialogItem<QPushButton>(dialog, id)->text();
}

// Lines the log gained since `before` lines.
std::vector<std::string> NewLines(const WindowRig& rig, std::size_t before) {
  const auto lines = rig.LogLines();
  return {lines.begin() + static_cast<std::ptrdiff_t>(std::min(before, lines.size())), lines.end()};
}

// Plays the profile selection dialog: picks `index` (or leaves the list as it is for -2) and
// presses OK.
std::function<void(QDialog&)> ChooseProfile(int index, int* shown_index = nullptr) {
  return [index, shown_index](QDialog& dialog) {
    auto* list = DialogItem<QComboBox>(dialog, CQlCfgModeSelect::kListId);
    if (shown_index != nullptr) *shown_index = list->currentIndex();
    if (index != -2) list->setCurrentIndex(index);
    DialogItem<QPushButton>(dialog, CQlCfgModeSelect::kOkId)->click();
  };
}

std::function<void(QDialog&)> Press(int id) {
  return [id](QDialog& dialog) { DialogItem<QPushButton>(dialog, id)->click(); };
}

void WriteFile(const QString& path, std::uint32_t type_word, std::span<const std::uint8_t> body) {
  std::ofstream file(QFile::encodeName(path).toStdString(), std::ios::binary);
  const char word[4] = {static_cast<char>(type_word), static_cast<char>(type_word >> 8),
                        static_cast<char>(type_word >> 16), static_cast<char>(type_word >> 24)};
  file.write(word, 4);
  file.write(reinterpret_cast<const char*>(body.data()), static_cast<std::streamsize>(body.size()));
}

// A blank profile image with the default key map whose top-left key of profile 1 types "b".
ProfileImage ImageWithKeyB() {
  ProfileImage image{};
  std::copy(kDefaultKeyCodeMap.begin(), kDefaultKeyCodeMap.end(),
            image.begin() + kKeyCodeMapOffset);
  std::copy(kKeyB.begin(), kKeyB.end(), image.begin() + kSlotSize * kDefaultKeyCodeMap[0]);
  return image;
}

struct ListCase {
  int list_id;
  int index;
  const char* log_line;
  std::size_t setting;
  std::uint8_t value;
};

TEST(BoardControls, AChoiceInAListIsLoggedAndStoredButNotSent) {
  const ListCase cases[] = {
      {kIdBoardTypeList, 1, ">> Board Type = 46 Keys", kSettingBoardType, 66},
      {kIdBoardTypeList, 3, ">> Board Type = 43 Keys", kSettingBoardType, 67},
      {kIdBoardTypeList, 2, ">> Board Type = 44 Keys", kSettingBoardType, 68},
      {kIdBoardTypeList, 0, ">> Board Type = 48 Keys", kSettingBoardType, 4},
      {kIdPathTypeList, 2, ">> Path Type = Mirror", kSettingPathType, 2},
      {kIdPathTypeList, 1, ">> Path Type = BlueTooth", kSettingPathType, 1},
      {kIdPathTypeList, 0, ">> Path Type = USB ", kSettingPathType, 0},
      {kIdUsbTypeList, 1, ">> USB Type = Gaming Keyboard", kSettingUsbType, 1},
      {kIdUsbTypeList, 0, ">> USB Type = Basic Keyboard", kSettingUsbType, 0},
  };
  WindowRig rig;
  CMorvelDlg& dialog = rig.Open();
  const auto requests = rig.keypad.RequestCount();
  for (const ListCase& c : cases) {
    const std::size_t before = rig.LogLines().size();
    auto* list = DialogItem<QComboBox>(dialog, c.list_id);
    list->setCurrentIndex(c.index);
    emit list->activated(c.index);
    EXPECT_EQ(NewLines(rig, before), std::vector<std::string>{c.log_line});
    EXPECT_EQ(rig.config.working_profile[kWorkingSettingsOffset + c.setting], c.value)
        << c.log_line;
  }
  EXPECT_EQ(rig.keypad.RequestCount(), requests);
}

TEST(BoardControls, ChoosingABoardRelaysTheGridAndStickyStoresItsOwnValue) {
  WindowRig rig;
  CMorvelDlg& dialog = rig.Open();
  auto* board = DialogItem<QComboBox>(dialog, kIdBoardTypeList);
  board->setCurrentIndex(1);
  emit board->activated(1);
  EXPECT_TRUE(dialog.KeyButton(6, 5)->isHidden());
  EXPECT_EQ(dialog.KeyButton(5, 8)->height(), 90);
  EXPECT_EQ(dialog.BoardType(), 66);

  auto* sticky = DialogItem<QAbstractButton>(dialog, kIdSticky);
  const std::size_t byte = kWorkingSettingsOffset + kSettingSticky;
  sticky->click();
  EXPECT_EQ(rig.config.working_profile[byte], sticky->isChecked() ? 3 : 0);
  sticky->click();
  EXPECT_EQ(rig.config.working_profile[byte], sticky->isChecked() ? 3 : 0);
}

TEST(Profiles, EditProfileSwitchesTheGridAndSaveWritesEveryProfileWithItsLines) {
  WindowRig rig;
  PutRecord(rig.KeypadProfileBlock(), 2, 0, kKeyB);
  CMorvelDlg& dialog = rig.Open();

  rig.prompts.play = ChooseProfile(2);
  Click(dialog, kIdEditProfile);
  EXPECT_EQ(Caption(dialog, kIdEditProfile), "Edit Profile 3");
  EXPECT_EQ(dialog.KeyButton(1, 1)->text(), "b");
  EXPECT_EQ(rig.config.current_profile, 2);

  // The list opens on the profile chosen last; Cancel changes nothing.
  int shown = -1;
  rig.prompts.play = [&shown](QDialog& d) {
    shown = DialogItem<QComboBox>(d, CQlCfgModeSelect::kListId)->currentIndex();
    DialogItem<QPushButton>(d, CQlCfgModeSelect::kCancelId)->click();
  };
  Click(dialog, kIdEditProfile);
  EXPECT_EQ(shown, 2);
  EXPECT_EQ(Caption(dialog, kIdEditProfile), "Edit Profile 3");

  // An edit of profile 3 reaches the keypad with the save.
  SetWorkingRecord(rig.config.working_profile, 1, kDisabledKey);
  const std::size_t before = rig.LogLines().size();
  Click(dialog, kIdSaveProfilesOnboard);
  // Only the profile block changed; "Save writes all blocks" writes the tables too.
  EXPECT_EQ(NewLines(rig, before),
            (std::vector<std::string>{">> Save Profile 2 to Device #28",
                                      ">> Unchanged on Device, not written: #30, #31, #32, #33",
                                      ">> Checked on Device, as written: #28"}));
  dialog.SetFullSave(true);
  const std::size_t full_before = rig.LogLines().size();
  Click(dialog, kIdSaveProfilesOnboard);
  std::vector<std::string> expected = {">> Save Profile 2 to Device #28"};
  expected.insert(expected.end(), kSaveLines.begin(), kSaveLines.end());
  expected.emplace_back(">> Checked on Device, as written: #28, #30, #31, #32, #33");
  EXPECT_EQ(NewLines(rig, full_before), expected);
  EXPECT_TRUE(rig.prompts.questions.empty());
  const std::size_t slot = 2 * kProfileSize + kSlotSize * kDefaultKeyCodeMap[1];
  EXPECT_EQ(rig.KeypadProfileBlock()[slot], 0x8F);
  // The grid was relabelled before the save.
  EXPECT_EQ(dialog.KeyButton(1, 2)->text(), "Null");
}

class BackupFiles : public ::testing::Test {
 protected:
  QString Path(const char* name) const { return QDir(directory_.path()).filePath(name); }
  QTemporaryDir directory_;
};

TEST_F(BackupFiles, BackupProfilesWritesAFullBackupThatLoadBackupRestores) {
  WindowRig rig;
  CMorvelDlg& dialog = rig.Open();
  const QString original = dialog.KeyButton(1, 1)->text();
  const QString path = Path("keypad.bin");

  rig.prompts.save_answer = path;
  Click(dialog, kIdBackupProfiles);
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  EXPECT_EQ(bytes.size(), 10244);  // firmware 0xFF: the string unit table is included
  EXPECT_EQ(bytes.left(4), QByteArray("\x05\x10\x16\x08", 4));
  EXPECT_EQ(dialog.windowTitle(), path);
  EXPECT_EQ(rig.prompts.file_filters.back(), "Bin File(*.bin)|bin");

  SetWorkingRecord(rig.config.working_profile, 0, kKeyB);
  dialog.RefreshKeyLabels();
  ASSERT_EQ(dialog.KeyButton(1, 1)->text(), "b");

  // The edit is not on the keypad: the load asks before dropping it.
  rig.prompts.open_answer = path;
  rig.prompts.choice_answers = {"Discard"};
  Click(dialog, kIdLoadBackup);
  EXPECT_EQ(rig.prompts.choices.size(), 1u);
  EXPECT_EQ(dialog.KeyButton(1, 1)->text(), original);
  EXPECT_EQ(Caption(dialog, kIdEditProfile), "Load Profile 1");
  const auto lines = rig.LogLines();
  EXPECT_EQ(lines.back(), ">> Open File, " + QFile::encodeName(path).toStdString());
}

TEST_F(BackupFiles, CancelledFileDialogsChangeNothing) {
  WindowRig rig;
  CMorvelDlg& dialog = rig.Open();
  const std::string log = rig.log.Text();
  Click(dialog, kIdLoadBackup);
  Click(dialog, kIdBackupProfiles);
  EXPECT_EQ(rig.prompts.file_filters.size(), 2u);
  EXPECT_EQ(dialog.windowTitle(), "QP40 Keyboard Configuration");
  EXPECT_EQ(Caption(dialog, kIdEditProfile), "Edit Profile 1");
  EXPECT_EQ(rig.log.Text(), log);
}

TEST_F(BackupFiles, WithoutAKeypadABackupCanBeInspectedAndSavedButNotWritten) {
  WindowRig rig(/*plugged=*/false);
  CMorvelDlg& dialog = rig.Open();
  WriteFile(Path("image.bin"), 0x08161007, ImageWithKeyB());

  rig.prompts.open_answer = Path("image.bin");
  Click(dialog, kIdLoadBackup);
  EXPECT_EQ(dialog.KeyButton(1, 1)->text(), "b");
  EXPECT_EQ(Caption(dialog, kIdEditProfile), "Load Profile 1");
  EXPECT_TRUE(DialogItem(dialog, kIdEditProfile)->isEnabled());
  EXPECT_TRUE(DialogItem(dialog, kIdBackupProfiles)->isEnabled());
  EXPECT_FALSE(DialogItem(dialog, kIdSaveProfilesOnboard)->isEnabled());
}

TEST_F(BackupFiles, AFileOfAnotherKindOrNoneAtAllIsReportedAndKeepsTheGrid) {
  WindowRig rig;
  CMorvelDlg& dialog = rig.Open();
  const QString key = dialog.KeyButton(1, 1)->text();
  WriteFile(Path("other.bin"), 0x08161008, std::array<std::uint8_t, 16>{});

  rig.prompts.open_answer = Path("other.bin");
  Click(dialog, kIdLoadBackup);
  rig.prompts.open_answer = Path("missing.bin");
  Click(dialog, kIdLoadBackup);

  EXPECT_EQ(rig.prompts.messages,
            std::vector<QString>({"Error: Wrong File Type !", "ERROR:Can't open file"}));
  EXPECT_EQ(dialog.KeyButton(1, 1)->text(), key);
  EXPECT_EQ(Caption(dialog, kIdEditProfile), "Load Profile 1");
  EXPECT_EQ(dialog.windowTitle(), Path("missing.bin"));
}

TEST_F(BackupFiles, OkWithoutAProfileAfterABackupOfBank27KeepsTheGridCaptionAndBank) {
  WindowRig rig;
  CMorvelDlg& dialog = rig.Open();
  WriteFile(Path("bank27.bin"), 0x0816100C, ImageWithKeyB());
  rig.prompts.open_answer = Path("bank27.bin");
  Click(dialog, kIdLoadBackup);
  ASSERT_EQ(Caption(dialog, kIdEditProfile), "Load Profile 5");

  int shown = 0;
  rig.prompts.play = ChooseProfile(-2, &shown);
  Click(dialog, kIdEditProfile);
  EXPECT_EQ(shown, -1);
  EXPECT_EQ(Caption(dialog, kIdEditProfile), "Load Profile 5");
  EXPECT_EQ(dialog.SelectedProfileIndex(), 4);
  EXPECT_EQ(dialog.KeyButton(1, 1)->text(), "b");

  // The bank of the backup is where the save goes, until a reload from the keypad.
  std::size_t before = rig.LogLines().size();
  Click(dialog, kIdSaveProfilesOnboard);
  EXPECT_EQ(NewLines(rig, before).front(), ">> Save Profile 0 to Device #27");
  EXPECT_EQ(rig.KeypadProfileBlock(0x1B)[kSlotSize * kDefaultKeyCodeMap[0]], 0x80);

  Click(dialog, kIdLoadProfilesOnboard);
  EXPECT_EQ(Caption(dialog, kIdEditProfile), "Edit Profile 1");
  before = rig.LogLines().size();
  Click(dialog, kIdSaveProfilesOnboard);
  // The keypad holds what was just loaded from block 28: nothing is written there.
  EXPECT_EQ(NewLines(rig, before).front(),
            ">> Unchanged on Device, not written: #28, #30, #31, #32, #33");
}

TEST(FailedLoad, SaveAsksBeforeWritingDataThatWasNeverReadAndCancelWritesNothing) {
  WindowRig rig;
  // Three tries of one page go unanswered.
  for (std::uint64_t request : {10u, 11u, 12u}) {
    rig.keypad.AddFault({sim::FaultKind::kDrop, request});
  }
  CMorvelDlg& dialog = rig.Open();
  ASSERT_EQ(dialog.LastLoadFailedPages(), 1);
  const auto lines = rig.LogLines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "ERROR: READ Device "), lines.end());

  const auto requests = rig.keypad.RequestCount();
  const std::size_t before = lines.size();
  rig.prompts.answer_ok = false;
  Click(dialog, kIdSaveProfilesOnboard);
  ASSERT_EQ(rig.prompts.questions.size(), 1u);
  EXPECT_TRUE(rig.prompts.questions[0].contains("never read"));
  EXPECT_EQ(rig.keypad.RequestCount(), requests);
  EXPECT_TRUE(NewLines(rig, before).empty());

  rig.prompts.answer_ok = true;
  Click(dialog, kIdSaveProfilesOnboard);
  EXPECT_EQ(rig.prompts.questions.size(), 2u);
  // The block with the unread page is written whole; the others are held by the keypad.
  EXPECT_EQ(NewLines(rig, before),
            (std::vector<std::string>{">> Save Profile 0 to Device #28",
                                      ">> Unchanged on Device, not written: #30, #31, #32, #33",
                                      ">> Checked on Device, as written: #28"}));
  EXPECT_GT(rig.keypad.RequestCount(), requests);
}

TEST(EndOfConfiguration, CloseAndRebootRebootsTheKeypadAndEndsTheWindowAfterTheMessage) {
  WindowRig rig;
  CMorvelDlg& dialog = rig.Open();
  Click(dialog, kIdCloseReboot);

  EXPECT_EQ(rig.keypad.RebootCount(), 1);
  EXPECT_EQ(rig.keypad.FactoryRestoreCount(), 0);
  EXPECT_FALSE(rig.link.Connected());
  EXPECT_FALSE(rig.link.IsOpen());
  EXPECT_EQ(rig.prompts.messages,
            std::vector<QString>{"End configuration, please reboot keyboard. "});
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  for (int id : {kIdEditProfile, kIdSaveProfilesOnboard, kIdBackupProfiles, kIdCloseReboot}) {
    EXPECT_FALSE(DialogItem(dialog, id)->isEnabled()) << id;
  }

  // The reload is still enabled; without a keypad it says so and switches itself off.
  Click(dialog, kIdLoadProfilesOnboard);
  EXPECT_EQ(rig.LogLines().back(), ">> No Device");
  EXPECT_FALSE(DialogItem(dialog, kIdLoadProfilesOnboard)->isEnabled());
}

TEST(EndOfConfiguration, FactoryRestoreSendsRestoreThenRebootOnlyWhenConfirmed) {
  WindowRig rig;
  CMorvelDlg& dialog = rig.Open();

  rig.prompts.play = Press(MStoreDevice::kCancelId);
  Click(dialog, kIdRestoreFactory);
  EXPECT_EQ(rig.keypad.FactoryRestoreCount(), 0);
  EXPECT_EQ(rig.keypad.RebootCount(), 0);
  EXPECT_TRUE(rig.link.Connected());
  EXPECT_TRUE(dialog.isVisible());

  rig.keypad.SetRecordRequests(true);
  rig.prompts.play = Press(MStoreDevice::kSureId);
  Click(dialog, kIdRestoreFactory);
  const auto& sent = rig.keypad.Requests();
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0][kCommandByte], kCmdRestoreFactory);
  EXPECT_EQ(sent[1][kCommandByte], kCmdReboot);
  EXPECT_EQ(rig.prompts.dialog_titles, std::vector<QString>({"Dialog", "Dialog"}));
  EXPECT_EQ(rig.prompts.messages,
            std::vector<QString>{"End configuration, please reboot keyboard. "});
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(DeviceNotices, OnlyNodeChangesWithoutAConnectionSearchForTheKeypad) {
  WindowRig rig(/*plugged=*/false);
  CMorvelDlg& dialog = rig.Open();
  rig.transport.plugged = true;

  dialog.OnDeviceChange(3);
  EXPECT_FALSE(rig.link.Connected());
  EXPECT_EQ(rig.keypad.RequestCount(), 0u);

  dialog.OnDeviceChange(kDeviceNodesChanged);
  EXPECT_TRUE(rig.link.Connected());
  EXPECT_EQ(Caption(dialog, kIdEditProfile), "Edit Profile 1");

  // Connected: notices are ignored, even when the keypad has gone in the meantime.
  rig.transport.plugged = false;
  const auto requests = rig.keypad.RequestCount();
  const std::string log = rig.log.Text();
  dialog.OnDeviceChange(kDeviceNodesChanged);
  EXPECT_EQ(rig.keypad.RequestCount(), requests);
  EXPECT_EQ(rig.log.Text(), log);
  EXPECT_TRUE(rig.link.Connected());
}

TEST(WindowMenu, TheAboutEntryOpensTheAboutBox) {
  WindowRig rig(/*plugged=*/false);
  CMorvelDlg& dialog = rig.Open();
  dialog.OnSysCommand(0xF060);  // any other window command is left to the platform
  EXPECT_TRUE(rig.prompts.dialog_titles.empty());
  dialog.OnSysCommand(kIdAboutCommand);
  dialog.OnSysCommand(kIdAboutCommand | 0x3);
  EXPECT_EQ(rig.prompts.dialog_titles,
            std::vector<QString>({"About Quillpad Configuration", "About Quillpad Configuration"}));
}

}  // namespace
}  // namespace qp40::test
