#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QPushButton>

#include "editing/macro_editor_logic.h"
#include "keys/board_settings_names.h"
#include "log/text_format.h"
#include "model/backup_file.h"
#include "model/profile_ops.h"
#include "model/saved_blocks_check.h"
#include "ui/common/busy_dialog.h"
#include "ui/common/dialog_template.h"
#include "ui/common/file_name.h"
#include "ui/macro_editor/macro_edit_dialog.h"
#include "ui/main/main_dialog.h"
#include "ui/main/main_dialog_ids.h"
#include "ui/main/small_dialogs.h"

namespace qp40 {

namespace {

constexpr const char* kBackupFilter = "Bin File(*.bin)";
constexpr const char* kBackupSuffix = "bin";

}  // namespace

void CMorvelDlg::ConnectCommands() {
  const auto on_click = [this](int id, void (CMorvelDlg::*handler)()) {
    connect(DialogItem<QPushButton>(*this, id), &QPushButton::clicked, this, handler);
  };
  on_click(kIdLoadProfilesOnboard, &CMorvelDlg::OnLoadProfilesOnboard);
  on_click(kIdEditProfile, &CMorvelDlg::OnEditProfile);
  on_click(kIdSaveProfilesOnboard, &CMorvelDlg::OnSaveProfilesOnboard);
  on_click(kIdLoadBackup, &CMorvelDlg::OnLoadBackup);
  on_click(kIdBackupProfiles, &CMorvelDlg::OnBackupProfiles);
  on_click(kIdCloseReboot, &CMorvelDlg::OnCloseAndReboot);
  on_click(kIdRestoreFactory, &CMorvelDlg::OnRestoreFactorySettings);
  on_click(kIdMacroScriptEdit, &CMorvelDlg::OnMacroScriptEdit);
  ConnectChordEditor();

  // Only a choice the user makes counts; the layout selecting entries itself changes nothing.
  connect(board_list_, &QComboBox::activated, this, &CMorvelDlg::OnBoardTypeChanged);
  connect(path_list_, &QComboBox::activated, this, &CMorvelDlg::OnPathTypeChanged);
  connect(usb_list_, &QComboBox::activated, this, &CMorvelDlg::OnUsbTypeChanged);

  for (const FeatureBox& feature_box : kFeatureBoxes) {
    auto* box = DialogItem<QCheckBox>(*this, feature_box.id);
    connect(box, &QCheckBox::clicked, this, [this, box, feature = feature_box.feature] {
      const EditState before = CurrentState();
      BoardSettings(services_.config.working_profile).SetFeature(feature, box->isChecked());
      RecordStep(std::string(BoardFeatureName(feature)) + (box->isChecked() ? " on" : " off"),
                 before);
    });
  }
}

void CMorvelDlg::OnLoadProfilesOnboard() {
  if (!services_.link.Connected()) {
    services_.log.AppendLog(">> No Device");
    EnableItem(*this, kIdLoadProfilesOnboard, false);
    return;
  }
  if (!MayDiscardEdits()) return;
  ResetToOnboardProfileBlock(services_.config);
  // A reload reads as much as the first load, so it shows its progress the same way.
  BusyDialog busy(this, QStringLiteral("Loading Data from device ......"), kPagesPerTransfer);
  LoadFromKeypad(busy);
  services_.config.current_profile = 0;
  SetEditProfileCaption("Edit Profile %d", 1);
}

void CMorvelDlg::OnMacroScriptEdit() {
  MacroEditorLogic logic(editing_session_, services_.link, services_.log, services_.notifier);
  CDialogMacroEdit editor(logic, services_.link, services_.prompts, this);
  RunDialog(editor);
  KeypadWentAway();
}

void CMorvelDlg::OnEditProfile() {
  CQlCfgModeSelect dialog(selected_profile_index_, this);
  dialog.MarkEditedProfiles(keypad_copy_.ProfilesWithEdits(services_.config));
  if (RunDialog(dialog) != QDialog::Accepted) return;
  const int chosen = dialog.ChosenIndex();
  // OK without a selected entry (the list starts on none after a backup of another bank):
  // the grid keeps the profile it shows, and the caption that names it stays.
  if (chosen < 0) return;
  const auto profile = static_cast<std::uint8_t>(chosen);
  Configuration& config = services_.config;
  const bool revert = profile == config.current_profile && profile < kProfileCount;
  if (revert && ReadWorkingProfile(config.working_profile) != ReadProfile(config, profile)) {
    // Choosing the profile on screen again puts back its records from the profile image.
    const QString loss = QStringLiteral(
                             "Selecting User Profile %1 again puts back its keys and settings as "
                             "they were loaded, dropping the changes made to it since.")
                             .arg(profile + 1);
    if (!MayDiscardEdits(loss)) return;
  }
  const EditState before = CurrentState();
  selected_profile_index_ = profile;
  if (selected_profile_index_ < kProfileCount) {
    SelectProfile(config, selected_profile_index_, *this);
  }
  SetEditProfileCaption("Edit Profile %d", selected_profile_index_ + 1);
  RecordStep(FormatText(revert ? "Revert Profile %d" : "Edit Profile %d", profile + 1), before);
}

void CMorvelDlg::OnSaveProfilesOnboard() { SaveToKeypad(); }

bool CMorvelDlg::SaveToKeypad() {
  if (last_load_failed_pages_ > 0) {
    const QString question = QString::asprintf(
        "The last load from the keypad failed on %d pages, so part of the data in memory was "
        "never read from the keypad. Saving writes it to the keypad as it stands.\n\n"
        "Save anyway?",
        last_load_failed_pages_);
    if (!services_.prompts.AskOkCancel(this, question)) return false;
  }
  RefreshKeyLabels();
  Configuration& config = services_.config;
  config.profile_block_number = ProfileBlockForBackupType(config.loaded_backup_type);

  TransferReport report;
  std::vector<SavedBlockCheck> checks;
  {
    busy_ = true;
    BusyDialog busy(this, QStringLiteral("Save data to device ..."), kPagesPerTransfer);
    services_.link.SetPageObserver([&busy] { busy.PageDone(); });
    report = SaveConfiguration(config, services_.link, services_.log);
    services_.link.SetPageObserver(nullptr);
    busy_ = false;
  }
  if (KeypadWentAway()) return false;
  // The user chose to keep what memory held; the keypad holds it now.
  last_load_failed_pages_ = 0;
  {
    // A write the keypad acknowledged may still not have stuck: the blocks are read back.
    busy_ = true;
    BusyDialog busy(this, QStringLiteral("Checking data on device ..."), kPagesPerTransfer);
    services_.link.SetPageObserver([&busy] { busy.PageDone(); });
    checks = CheckSavedBlocks(config, services_.link);
    services_.link.SetPageObserver(nullptr);
    busy_ = false;
  }
  if (KeypadWentAway()) return false;

  int bad_blocks = 0;
  for (const SavedBlockCheck& check : checks) {
    if (check.state == SavedBlockState::kMatches) continue;
    ++bad_blocks;
    services_.log.AppendLog(FormatText(check.state == SavedBlockState::kDiffers
                                           ? ">> Check Device #%d: differs from what was saved"
                                           : ">> Check Device #%d: could not be read back",
                                       check.block));
  }
  if (bad_blocks > 0) {
    services_.prompts.ShowMessage(
        this, QStringLiteral("After the save, %1 of the %2 blocks read back from the keypad do "
                             "not hold what was written (see the log). The keypad may not hold "
                             "your changes: save again, and keep a backup with \"Backup "
                             "Profiles\".")
                  .arg(bad_blocks)
                  .arg(checks.size()));
    UpdateTitle();
    return false;
  }
  if (report.failed_pages == 0) KeypadHoldsConfiguration(false);
  UpdateTitle();
  return report.failed_pages == 0;
}

std::optional<std::string> CMorvelDlg::ChooseBackupFile(BackupFileUse use) {
  const QString filter = QString::fromLatin1(kBackupFilter);
  const QString suffix = QString::fromLatin1(kBackupSuffix);
  const std::optional<QString> path = use == BackupFileUse::kLoad
                                          ? services_.prompts.OpenFileName(this, filter, suffix)
                                          : services_.prompts.SaveFileName(this, filter, suffix);
  if (!path) return std::nullopt;
  // The caption shows the last file chosen until the next one.
  SetTitleText(*path);
  if (path->isEmpty()) return std::nullopt;
  return FileNameText(*path);
}

void CMorvelDlg::OnLoadBackup() {
  if (!MayDiscardEdits()) return;
  const std::optional<std::string> path = ChooseBackupFile(BackupFileUse::kLoad);
  if (!path) return;
  const EditState before = CurrentState();
  const int profile =
      LoadBackup(services_.config, *path, services_.log, services_.notifier, *this).shown_profile;
  EnableItem(*this, kIdEditProfile, true);
  EnableItem(*this, kIdBackupProfiles, true);
  selected_profile_index_ = static_cast<std::uint8_t>(profile);
  SetEditProfileCaption("Load Profile %d", profile + 1);
  RecordStep("Load backup " + QFileInfo(QFile::decodeName(path->c_str())).fileName().toStdString(),
             before);
}

void CMorvelDlg::OnBackupProfiles() {
  const std::optional<std::string> path = ChooseBackupFile(BackupFileUse::kSave);
  if (!path) return;
  SaveBackup(services_.config, *path, services_.notifier);
}

void CMorvelDlg::OnCloseAndReboot() {
  if (!MayDiscardEdits()) return;
  CloseAndReboot();
}

void CMorvelDlg::CloseAndReboot() {
  // The keypad's commands go grey first: the keypad is gone once the link's message shows.
  for (int id : {kIdEditProfile, kIdSaveProfilesOnboard, kIdBackupProfiles, kIdCloseReboot}) {
    EnableItem(*this, id, false);
  }
  // The window stays up behind the message and closes when the user dismisses it.
  services_.link.CloseAndReboot();
  done(QDialog::Accepted);
}

void CMorvelDlg::OnRestoreFactorySettings() {
  if (!MayDiscardEdits()) return;
  MStoreDevice dialog([this] { services_.link.RestoreFactorySettings(); }, this);
  RunDialog(dialog);
  if (KeypadWentAway()) return;
  if (dialog.Confirmed() == 1) {
    // The keypad now holds its factory image; what the window held is gone with it.
    history_.Clear();
    CloseAndReboot();
  }
}

void CMorvelDlg::OnBoardTypeChanged(int index) {
  const EditState before = CurrentState();
  const std::uint8_t value = BoardTypeList().ValueAt(index);
  services_.log.AppendLog(BoardTypeList().LogLineAt(index));
  board_type_ = value;
  BoardSettings(services_.config.working_profile).SetBoardType(value);
  ApplyBoardLayout(value);
  RecordStep("Keys: " + board_list_->itemText(index).toStdString(), before);
}

void CMorvelDlg::OnPathTypeChanged(int index) {
  const EditState before = CurrentState();
  const std::uint8_t value = PathTypeList().ValueAt(index);
  services_.log.AppendLog(PathTypeList().LogLineAt(index));
  BoardSettings(services_.config.working_profile).SetPathType(value);
  path_type_ = value;
  RecordStep("USB/Bluetooth: " + path_list_->itemText(index).toStdString(), before);
}

void CMorvelDlg::OnUsbTypeChanged(int index) {
  const EditState before = CurrentState();
  const std::uint8_t value = UsbTypeList().ValueAt(index);
  services_.log.AppendLog(UsbTypeList().LogLineAt(index));
  BoardSettings(services_.config.working_profile).SetUsbType(value);
  usb_type_ = value;
  RecordStep("USB I/O: " + usb_list_->itemText(index).toStdString(), before);
}

}  // namespace qp40
