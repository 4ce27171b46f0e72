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
  ConnectPictureCommands();

  // Only a choice the user makes counts; the layout selecting entries itself changes nothing.
  connect(board_list_, &QComboBox::activated, this, &CMorvelDlg::OnBoardTypeChanged);
  connect(path_list_, &QComboBox::activated, this, &CMorvelDlg::OnPathTypeChanged);
  connect(usb_list_, &QComboBox::activated, this, &CMorvelDlg::OnUsbTypeChanged);

  for (const FeatureBox& feature_box : kFeatureBoxes) {
    auto* box = DialogItem<QCheckBox>(*this, feature_box.id);
    connect(box, &QCheckBox::clicked, this, [this, box, feature = feature_box.feature] {
      const EditState before = CurrentState();
      BoardSettings(Config().working_profile).SetFeature(feature, box->isChecked());
      RecordStep(std::string(BoardFeatureName(feature)) + (box->isChecked() ? " on" : " off"),
                 before);
    });
  }
}

void CMorvelDlg::OnLoadProfilesOnboard() {
  if (!services_.session.Connected()) {
    services_.log.AppendLog(">> No Device");
    EnableItem(*this, kIdLoadProfilesOnboard, false);
    return;
  }
  if (!MayDiscardEdits()) return;
  ResetToOnboardProfileBlock(Config());
  LoadFromKeypad();
  Config().current_profile = 0;
  SetEditProfileCaption("Edit Profile %d", 1);
}

void CMorvelDlg::OnMacroScriptEdit() {
  MacroEditorLogic logic(editing_session_, services_.session, services_.log, services_.notifier);
  CDialogMacroEdit editor(logic, services_.session.Connected(), services_.prompts, this);
  RunDialog(editor);
  KeypadWentAway();
}

void CMorvelDlg::OnEditProfile() {
  CQlCfgModeSelect dialog(selected_profile_index_, this);
  dialog.MarkEditedProfiles(services_.session.Copy().ProfilesWithEdits(Config()));
  if (RunDialog(dialog) != QDialog::Accepted) return;
  const int chosen = dialog.ChosenIndex();
  // OK without a selected entry (the list starts on none after a backup of another bank):
  // the grid keeps the profile it shows, and the caption that names it stays.
  if (chosen < 0) return;
  const auto profile = static_cast<std::uint8_t>(chosen);
  Configuration& config = Config();
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
  const SaveResult saved =
      services_.session.Save(full_save_ ? SaveMode::kFull : SaveMode::kChangedBlocks);
  if (KeypadWentAway()) return false;
  // The user chose to keep what memory held; the keypad holds it now.
  last_load_failed_pages_ = 0;
  if (!saved.blocks_differing.empty()) {
    QStringList blocks;
    for (const std::uint8_t block : saved.blocks_differing) {
      blocks << QStringLiteral("#%1").arg(block);
    }
    services_.prompts.ShowMessage(
        this, QStringLiteral("After the save, the keypad does not hold what was written to %1 "
                             "(see the log). The keypad may not hold your changes: save again, "
                             "and keep a backup with \"Backup Profiles\".")
                  .arg(blocks.join(QStringLiteral(", "))));
  }
  if (!saved.macros_failed.empty()) {
    QStringList macros;
    for (const int macro : saved.macros_failed) macros << QString::number(macro);
    services_.prompts.ShowMessage(
        this, QStringLiteral("The keypad does not hold what was written to macro %1 (see the "
                             "log). It goes with the next save: save again.")
                  .arg(macros.join(QStringLiteral(", "))));
  }
  UpdateTitle();
  return saved.status == SessionStatus::kDone;
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
      LoadBackup(Config(), *path, services_.log, services_.notifier, *this).shown_profile;
  EnableItem(*this, kIdEditProfile, true);
  EnableItem(*this, kIdBackupProfiles, true);
  EnableItem(*this, kIdPicture, true);
  selected_profile_index_ = static_cast<std::uint8_t>(profile);
  SetEditProfileCaption("Load Profile %d", profile + 1);
  RecordStep("Load backup " + QFileInfo(QFile::decodeName(path->c_str())).fileName().toStdString(),
             before);
}

void CMorvelDlg::OnBackupProfiles() {
  const std::optional<std::string> path = ChooseBackupFile(BackupFileUse::kSave);
  if (!path) return;
  SaveBackup(Config(), *path, services_.notifier);
}

void CMorvelDlg::OnCloseAndReboot() {
  if (!MayDiscardEdits()) return;
  CloseAndReboot();
}

void CMorvelDlg::CloseAndReboot() {
  // The keypad's commands go grey first: the keypad is gone once the link's message shows.
  for (int id :
       {kIdEditProfile, kIdSaveProfilesOnboard, kIdBackupProfiles, kIdCloseReboot, kIdPicture}) {
    EnableItem(*this, id, false);
  }
  // The window stays up behind the message and closes when the user dismisses it; the link has
  // logged a reboot request the keypad did not take.
  if (services_.session.CloseAndReboot() != SessionStatus::kDone) {
    services_.log.AppendLog(">> Reboot request not confirmed by the keypad");
  }
  done(QDialog::Accepted);
}

void CMorvelDlg::OnRestoreFactorySettings() {
  if (!MayDiscardEdits()) return;
  std::optional<SessionStatus> restored;
  MStoreDevice dialog([this, &restored] { restored = services_.session.RestoreFactorySettings(); },
                      this);
  RunDialog(dialog);
  if (KeypadWentAway()) return;
  if (dialog.Confirmed() != 1 || !restored) return;
  if (*restored != SessionStatus::kDone) {
    // Closing would tell the user the keypad was reset when it may not be.
    services_.prompts.ShowMessage(
        this, QStringLiteral("The keypad did not confirm the factory restore (see the log). Its "
                             "configuration may be unchanged: try again, or reload it with "
                             "\"Load Profiles Onboard\"."));
    return;
  }
  // The keypad now holds its factory image; the session has ended the edit history with it.
  CloseAndReboot();
}

void CMorvelDlg::OnBoardTypeChanged(int index) {
  const EditState before = CurrentState();
  const std::uint8_t value = BoardTypeList().ValueAt(index);
  services_.log.AppendLog(BoardTypeList().LogLineAt(index));
  board_type_ = value;
  BoardSettings(Config().working_profile).SetBoardType(value);
  ApplyBoardLayout(value);
  RecordStep("Keys: " + board_list_->itemText(index).toStdString(), before);
}

void CMorvelDlg::OnPathTypeChanged(int index) {
  const EditState before = CurrentState();
  const std::uint8_t value = PathTypeList().ValueAt(index);
  services_.log.AppendLog(PathTypeList().LogLineAt(index));
  BoardSettings(Config().working_profile).SetPathType(value);
  path_type_ = value;
  RecordStep("USB/Bluetooth: " + path_list_->itemText(index).toStdString(), before);
}

void CMorvelDlg::OnUsbTypeChanged(int index) {
  const EditState before = CurrentState();
  const std::uint8_t value = UsbTypeList().ValueAt(index);
  services_.log.AppendLog(UsbTypeList().LogLineAt(index));
  BoardSettings(Config().working_profile).SetUsbType(value);
  usb_type_ = value;
  RecordStep("USB I/O: " + usb_list_->itemText(index).toStdString(), before);
}

}  // namespace qp40
