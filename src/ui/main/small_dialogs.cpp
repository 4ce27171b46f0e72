#include "ui/main/small_dialogs.h"

#include <QComboBox>
#include <QPushButton>
#include <array>

#include "ui/common/dialog_template.h"

namespace qp40 {

namespace {

constexpr int kAboutOkId = 1;

constexpr std::array kAboutControls = {
    ControlEntry{kStaticId, ControlKind::kStaticText, "QP40 Quillpad Configuration V7.2.1", 7, 15,
                 188, 8},
    ControlEntry{kAboutOkId, ControlKind::kDefaultPushButton, "OK", 168, 34, 50, 14},
};
constexpr DialogTemplate kAboutTemplate{"About Quillpad Configuration", 225, 53, kAboutControls};

constexpr int kProfileNoteId = 1161;
constexpr int kProfileSwitchNoteId = 1162;

constexpr std::array kProfileSelectControls = {
    ControlEntry{CQlCfgModeSelect::kListId, ControlKind::kDropDownList, "", 15, 40, 176, 180},
    ControlEntry{kProfileNoteId, ControlKind::kStaticText, "", 14, 80, 158, 11},
    ControlEntry{kProfileSwitchNoteId, ControlKind::kStaticText, "", 14, 105, 175, 8},
    ControlEntry{CQlCfgModeSelect::kOkId, ControlKind::kDefaultPushButton, "", 213, 27, 66, 59},
    ControlEntry{CQlCfgModeSelect::kCancelId, ControlKind::kPushButton, "", 211, 114, 70, 57},
};
constexpr DialogTemplate kProfileSelectTemplate{"Select Profile", 295, 199, kProfileSelectControls};

constexpr std::array kProfileItems = {"0# User Profile 1", "1# User Profile 2", "2# User Profile 3",
                                      "3# User Profile 4"};

constexpr std::array kStoreDeviceControls = {
    ControlEntry{kStaticId, ControlKind::kCenteredText,
                 "Restore factory settings and DELETE all user data !", 27, 43, 195, 17},
    ControlEntry{MStoreDevice::kSureId, ControlKind::kDefaultPushButton, "Sure", 45, 95, 50, 25},
    ControlEntry{MStoreDevice::kCancelId, ControlKind::kPushButton, "Cancel", 143, 96, 50, 24},
};
constexpr DialogTemplate kStoreDeviceTemplate{"Dialog", 257, 141, kStoreDeviceControls};

void ConnectOkCancel(QDialog& dialog, int ok_id, int cancel_id) {
  QObject::connect(DialogItem<QPushButton>(dialog, ok_id), &QPushButton::clicked, &dialog,
                   &QDialog::accept);
  QObject::connect(DialogItem<QPushButton>(dialog, cancel_id), &QPushButton::clicked, &dialog,
                   &QDialog::reject);
}

}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
  BuildDialog(*this, kAboutTemplate);
  setFixedSize(size());
  connect(DialogItem<QPushButton>(*this, kAboutOkId), &QPushButton::clicked, this,
          &QDialog::accept);
}

CQlCfgModeSelect::CQlCfgModeSelect(int selected_profile_index, QWidget* parent)
    : QDialog(parent),
      selected_profile_index_(selected_profile_index),
      chosen_index_(selected_profile_index) {
  BuildDialog(*this, kProfileSelectTemplate);
  setFixedSize(size());
  list_ = DialogItem<QComboBox>(*this, kListId);
  for (const char* item : kProfileItems) {
    list_->addItem(QString::fromLatin1(item));
  }
  const bool on_list = selected_profile_index >= 0 &&
                       selected_profile_index < static_cast<int>(kProfileItems.size());
  list_->setCurrentIndex(on_list ? selected_profile_index : -1);
  setWindowTitle(QStringLiteral("Select Profile Onboard "));
  SetItemText(*this, kProfileNoteId, QStringLiteral("Profile 0    : default working profile"));
  SetItemText(*this, kProfileSwitchNoteId, QStringLiteral("Profile1/2/3 : valid by switching"));
  SetItemText(*this, kOkId, QStringLiteral("OK"));
  SetItemText(*this, kCancelId, QStringLiteral("Cancel"));
  ConnectOkCancel(*this, kOkId, kCancelId);
}

void CQlCfgModeSelect::MarkEditedProfiles(const std::array<bool, 4>& edited) {
  for (std::size_t i = 0; i < edited.size() && i < kProfileItems.size(); ++i) {
    QString text = QString::fromLatin1(kProfileItems[i]);
    if (edited[i]) text += QStringLiteral(" *");
    list_->setItemText(static_cast<int>(i), text);
  }
}

void CQlCfgModeSelect::accept() {
  chosen_index_ = list_->currentIndex();
  QDialog::accept();
}

void CQlCfgModeSelect::reject() {
  chosen_index_ = selected_profile_index_;
  QDialog::reject();
}

MStoreDevice::MStoreDevice(std::function<void()> restore_factory_settings, QWidget* parent)
    : QDialog(parent), restore_factory_settings_(std::move(restore_factory_settings)) {
  BuildDialog(*this, kStoreDeviceTemplate);
  setFixedSize(size());
  ConnectOkCancel(*this, kSureId, kCancelId);
}

void MStoreDevice::accept() {
  if (restore_factory_settings_) restore_factory_settings_();
  confirmed_ = 1;
  QDialog::accept();
}

void MStoreDevice::reject() {
  confirmed_ = 0;
  QDialog::reject();
}

}  // namespace qp40
