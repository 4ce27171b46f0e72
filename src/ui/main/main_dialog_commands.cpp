#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

#include "editing/macro_editor_logic.h"
#include "keys/board_settings_names.h"
#include "model/backup_file.h"
#include "model/profile_ops.h"
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

  // Only a choice the user makes counts; the layout selecting entries itself changes nothing.
  connect(board_list_, &QComboBox::activated, this, &CMorvelDlg::OnBoardTypeChanged);
  connect(path_list_, &QComboBox::activated, this, &CMorvelDlg::OnPathTypeChanged);
  connect(usb_list_, &QComboBox::activated, this, &CMorvelDlg::OnUsbTypeChanged);

  for (const FeatureBox& feature_box : kFeatureBoxes) {
    auto* box = DialogItem<QCheckBox>(*this, feature_box.id);
    connect(box, &QCheckBox::clicked, this, [this, box, feature = feature_box.feature] {
      BoardSettings(services_.config.working_profile).SetFeature(feature, box->isChecked());
    });
  }
}

void CMorvelDlg::OnLoadProfilesOnboard() {
  if (!services_.link.Connected()) {
    services_.log.AppendLog(">> No Device");
    EnableItem(*this, kIdLoadProfilesOnboard, false);
    return;
  }
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
  services_.prompts.RunModal(editor);
}

void CMorvelDlg::OnEditProfile() {
  CQlCfgModeSelect dialog(selected_profile_index_, this);
  if (services_.prompts.RunModal(dialog) != QDialog::Accepted) return;
  const int chosen = dialog.ChosenIndex();
  // OK without a selected entry (the list starts on none after a backup of another bank):
  // the grid keeps the profile it shows, and the caption that names it stays.
  if (chosen < 0) return;
  selected_profile_index_ = static_cast<std::uint8_t>(chosen);
  if (selected_profile_index_ < kProfileCount) {
    SelectProfile(services_.config, selected_profile_index_, *this);
  }
  SetEditProfileCaption("Edit Profile %d", selected_profile_index_ + 1);
}

void CMorvelDlg::OnSaveProfilesOnboard() {
  if (last_load_failed_pages_ > 0) {
    const QString question = QString::asprintf(
        "The last load from the keypad failed on %d pages, so part of the data in memory was "
        "never read from the keypad. Saving writes it to the keypad as it stands.\n\n"
        "Save anyway?",
        last_load_failed_pages_);
    if (!services_.prompts.AskOkCancel(this, question)) return;
  }
  RefreshKeyLabels();
  services_.config.profile_block_number =
      ProfileBlockForBackupType(services_.config.loaded_backup_type);

  BusyDialog busy(this, QStringLiteral("Save data to device ..."), kPagesPerTransfer);
  busy_ = true;
  services_.link.SetPageObserver([&busy] { busy.PageDone(); });
  SaveConfiguration(services_.config, services_.link, services_.log);
  services_.link.SetPageObserver(nullptr);
  busy_ = false;
  // The user chose to keep what memory held; the keypad holds it now.
  last_load_failed_pages_ = 0;
}

std::optional<std::string> CMorvelDlg::ChooseBackupFile(BackupFileUse use) {
  const QString filter = QString::fromLatin1(kBackupFilter);
  const QString suffix = QString::fromLatin1(kBackupSuffix);
  const std::optional<QString> path = use == BackupFileUse::kLoad
                                          ? services_.prompts.OpenFileName(this, filter, suffix)
                                          : services_.prompts.SaveFileName(this, filter, suffix);
  if (!path) return std::nullopt;
  // The caption shows the last file chosen until the next one.
  setWindowTitle(*path);
  if (path->isEmpty()) return std::nullopt;
  return FileNameText(*path);
}

void CMorvelDlg::OnLoadBackup() {
  const std::optional<std::string> path = ChooseBackupFile(BackupFileUse::kLoad);
  if (!path) return;
  const int profile =
      LoadBackup(services_.config, *path, services_.log, services_.notifier, *this).shown_profile;
  EnableItem(*this, kIdEditProfile, true);
  EnableItem(*this, kIdBackupProfiles, true);
  selected_profile_index_ = static_cast<std::uint8_t>(profile);
  SetEditProfileCaption("Load Profile %d", profile + 1);
}

void CMorvelDlg::OnBackupProfiles() {
  const std::optional<std::string> path = ChooseBackupFile(BackupFileUse::kSave);
  if (!path) return;
  SaveBackup(services_.config, *path, services_.notifier);
}

void CMorvelDlg::OnCloseAndReboot() {
  // The keypad's commands go grey first: the keypad is gone once the link's message shows.
  for (int id : {kIdEditProfile, kIdSaveProfilesOnboard, kIdBackupProfiles, kIdCloseReboot}) {
    EnableItem(*this, id, false);
  }
  // The window stays up behind the message and closes when the user dismisses it.
  services_.link.CloseAndReboot();
  done(QDialog::Accepted);
}

void CMorvelDlg::OnRestoreFactorySettings() {
  MStoreDevice dialog([this] { services_.link.RestoreFactorySettings(); }, this);
  services_.prompts.RunModal(dialog);
  if (dialog.Confirmed() == 1) OnCloseAndReboot();
}

void CMorvelDlg::OnBoardTypeChanged(int index) {
  const std::uint8_t value = BoardTypeList().ValueAt(index);
  services_.log.AppendLog(BoardTypeList().LogLineAt(index));
  board_type_ = value;
  BoardSettings(services_.config.working_profile).SetBoardType(value);
  ApplyBoardLayout(value);
}

void CMorvelDlg::OnPathTypeChanged(int index) {
  const std::uint8_t value = PathTypeList().ValueAt(index);
  services_.log.AppendLog(PathTypeList().LogLineAt(index));
  BoardSettings(services_.config.working_profile).SetPathType(value);
  path_type_ = value;
}

void CMorvelDlg::OnUsbTypeChanged(int index) {
  const std::uint8_t value = UsbTypeList().ValueAt(index);
  services_.log.AppendLog(UsbTypeList().LogLineAt(index));
  BoardSettings(services_.config.working_profile).SetUsbType(value);
  usb_type_ = value;
}

}  // namespace qp40
