#include "ui/main/main_dialog.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QIcon>
#include <QMenu>
#include <QScreen>
#include <algorithm>
#include <chrono>
#include <limits>
#include <thread>

#include "keys/board_layout.h"
#include "keys/board_settings_names.h"
#include "model/profile_ops.h"
#include "ui/common/clr_button.h"
#include "ui/common/device_notice_watch.h"
#include "ui/common/dialog_template.h"
#include "ui/common/log_pane.h"
#include "ui/main/main_dialog_ids.h"
#include "ui/main/main_dialog_template.h"
#include "ui/main/small_dialogs.h"

namespace qp40 {

namespace {

constexpr const char* kHelpLines[] = {
    // NOLINTNEXTLINE(bugprone-suspicious-missing-comma): long lines are split in two on purpose.
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

struct Caption {
  int id;
  const char* text;
};

constexpr Caption kCaptions[] = {
    {kIdLoadProfilesOnboard, "Load Profiles Onboard"},
    {kIdEditProfile, "Edit Profile"},
    {kIdLoadBackup, "Load Backup"},
    {kIdSaveProfilesOnboard, "Save Profiles Onboard"},
    {kIdBackupProfiles, "Backup Profiles"},
    {kIdCloseReboot, "Close&&Reboot"},
    {kIdMacroScriptEdit, "Macro Script Edit"},
    {kIdChordEditor, "TwoKeyClick Editor"},
    {kIdRestoreFactory, "Restore Factory Settings"},
    {kIdDefaultLabel, "Default"},
    {kIdBoardTypeLabel, "Keys"},
    {kIdPathTypeLabel, "USB/Bluetooth"},
    {kIdUsbTypeLabel, "USB I/O"},
};

// Commands that need the keypad, enabled when it is connected ("Load Backup" always is).
constexpr int kDeviceCommands[] = {
    kIdLoadProfilesOnboard, kIdEditProfile,    kIdSaveProfilesOnboard,
    kIdBackupProfiles,      kIdCloseReboot,    kIdChordEditor,
    kIdMacroScriptEdit,     kIdRestoreFactory, kIdPicture};

// Disabled by the set-up until a keypad or a backup is loaded.
constexpr int kDisabledAtStart[] = {kIdEditProfile, kIdSaveProfilesOnboard, kIdBackupProfiles,
                                    kIdCloseReboot, kIdLoadProfilesOnboard, kIdPicture};

void FillList(QComboBox& list, const BoardSettingList& setting) {
  list.clear();
  for (const BoardSettingChoice& choice : setting.Choices()) {
    list.addItem(QString::fromLatin1(choice.list_item));
  }
  list.setCurrentIndex(0);
}

}  // namespace

CMorvelDlg::CMorvelDlg(MainDialogServices services, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
      services_(std::move(services)) {
  BuildDialog(*this, MainDialogTemplate());
  for (int row = 1; row <= kGridRowCount; ++row) {
    for (int column = 1; column <= kGridColumnCount; ++column) {
      key_buttons_[GridPosition(row, column)] =
          DialogItem<CClrButton>(*this, KeyControlId(row, column));
    }
  }
  log_pane_ = DialogItem<LogPane>(*this, kIdLog);
  board_list_ = DialogItem<QComboBox>(*this, kIdBoardTypeList);
  path_list_ = DialogItem<QComboBox>(*this, kIdPathTypeList);
  usb_list_ = DialogItem<QComboBox>(*this, kIdUsbTypeList);

  // The editors' buttons wait for a keypad.
  EnableItem(*this, kIdMacroScriptEdit, false);
  EnableItem(*this, kIdRestoreFactory, false);
  EnableItem(*this, kIdChordEditor, false);

  setWindowIcon(QIcon(QStringLiteral(":/qp40config.png")));
  PlaceKeysAtTemplatePositions();
  ConnectCommands();
  ConnectLayoutMenu();
  ConnectHistory();
  ConnectRecovery();
  ConnectKeyButtons();
  ConnectShortcuts();

  // The session's device work shows its progress in this window and relabels its grid.
  services_.session.SetProgressHandler(
      [this](DeviceWork work, int total_pages) { return ShowProgress(work, total_pages); });
  services_.session.SetRefresher(this);
}

CMorvelDlg::~CMorvelDlg() {
  // A window that closes keeps no recovery file: only a crash or a killed process leaves one.
  RemoveRecovery();
  services_.session.SetProgressHandler(nullptr);
  services_.session.SetRefresher(nullptr);
  if (services_.log.HasSink()) services_.log.SetSink(nullptr);
}

void CMorvelDlg::PlaceKeysAtTemplatePositions() {
  // Until the first board layout is applied the grid stands as the 48-key board at the screen's
  // zoom; the window is made large enough to hold it.
  const auto placements = PlaceKeys(kBoard48Keys, ZoomForDpi(ScreenDpi()));
  int grid_left = std::numeric_limits<int>::max();
  int grid_right = 0;
  int grid_bottom = 0;
  for (const KeyPlacement& placement : placements) {
    if (CClrButton* button = DialogItem<CClrButton>(*this, placement.control_id)) {
      button->setGeometry(placement.x, placement.y, placement.width, placement.height);
      grid_left = std::min(grid_left, placement.x);
      grid_right = std::max(grid_right, placement.x + placement.width);
      grid_bottom = std::max(grid_bottom, placement.y + placement.height);
    }
  }
  const int margin = DialogUnits(font()).ToPixelsX(kMainDialogMargin);
  resize(std::max(width(), grid_right + margin), height());
  setMinimumSize(size());

  // The settings beside the grid are sized by the font, which grows with the screen's DPI faster
  // than the grid's left edge moves (80 + 80 * zoom pixels); they give up width rather than run
  // under the keys. Every board has a key in the first column, so that edge never moves.
  const int column_right = grid_left - margin;
  for (QWidget* control : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    const QRect area = control->geometry();
    if (area.left() < grid_left && area.top() < grid_bottom &&
        area.left() + area.width() > column_right) {
      control->resize(std::max(column_right - area.left(), 0), area.height());
    }
  }
}

void CMorvelDlg::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  // The log takes whatever room the window has below the commands.
  const int margin = log_pane_->x();
  log_pane_->resize(std::max(width() - 2 * margin, 0),
                    std::max(height() - log_pane_->y() - margin, 0));
}

int CMorvelDlg::ScreenDpi() const {
  if (services_.screen_dpi) return services_.screen_dpi();
  const QScreen* on = screen();
  return on != nullptr ? qRound(on->logicalDotsPerInch()) : 96;
}

void CMorvelDlg::Pause(int milliseconds) {
  if (services_.pause) {
    services_.pause(milliseconds);
    return;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void CMorvelDlg::OnInitDialog() {
  FillList(*board_list_, BoardTypeList());
  FillList(*path_list_, PathTypeList());
  FillList(*usb_list_, UsbTypeList());

  services_.log.SetSink(log_pane_);

  for (int row = 1; row <= kGridRowCount; ++row) {
    for (int column = 1; column <= kGridColumnCount; ++column) {
      KeyButton(row, column)->setText(QString::number(10 * row + column));
    }
  }
  highlight_flags_.fill(0);
  key_labels_.fill(QStringLiteral("NULL"));

  for (const Caption& caption : kCaptions) {
    SetItemText(*this, caption.id, QString::fromLatin1(caption.text));
  }
  for (const FeatureBox& box : kFeatureBoxes) {
    SetItemText(*this, box.id, QString::fromLatin1(BoardFeatureName(box.feature)));
  }
  SetTitleText(QString::fromLatin1(kAppTitle));

  for (int id : kDisabledAtStart) {
    EnableItem(*this, id, false);
  }
  for (const char* line : kHelpLines) {
    services_.log.AppendLog(line);
  }
  OnDeviceChange(kDeviceNodesChanged);
}

void CMorvelDlg::OnDeviceChange(int event_type) {
  if (event_type != kDeviceNodesChanged) return;
  // A keypad plugged in or out shows in the chooser at once, whichever keypad is shown.
  RefreshKeypadChooser();
  if (services_.session.Connected()) return;
  if (!AttachChosenKeypad()) return;

  if (HasUnsavedEdits()) {
    // The keypad is back while the window holds edits it does not: the user decides which wins.
    const int answer = services_.prompts.Choose(
        this,
        QStringLiteral("The keypad is connected again, and the window holds changes the keypad "
                       "does not.\n\nLoad the keypad's configuration (your changes are "
                       "discarded), or keep your changes (\"Save Profiles Onboard\" then writes "
                       "them to the keypad)?"),
        {QStringLiteral("Load"), QStringLiteral("Keep")});
    if (answer != 0) {
      EnableDeviceCommands();
      services_.log.AppendLog(">> Keypad connected, your changes are kept");
      return;
    }
  }

  ShowAttachedKeypad();
}

void CMorvelDlg::ShowAttachedKeypad() {
  EnableDeviceCommands();
  Pause(kSettlePauseMs);
  LoadFromKeypad();
  SetEditProfileCaption("Edit Profile %d", 1);
  RefreshKeypadChooser();
  OfferRecovery();
}

void CMorvelDlg::EnableDeviceCommands() {
  for (int id : kDeviceCommands) {
    EnableItem(*this, id, true);
  }
}

void CMorvelDlg::LoadFromKeypad() {
  const LoadResult loaded = services_.session.Load();
  last_load_failed_pages_ = loaded.failed_pages;
  if (KeypadWentAway()) return;
  UpdateTitle();
}

void CMorvelDlg::SetEditProfileCaption(const char* format, int number) {
  SetItemText(*this, kIdEditProfile, QString::asprintf(format, number));
}

void CMorvelDlg::OnSysCommand(int command_id) {
  if ((command_id & 0xFFF0) != kIdAboutCommand) return;
  CAboutDlg about(this);
  RunDialog(about);
}

void CMorvelDlg::closeEvent(QCloseEvent* event) {
  if (busy_) {
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

void CMorvelDlg::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  menu.addAction(QStringLiteral("Minimize"), this, &QWidget::showMinimized);
  menu.addAction(QStringLiteral("Close"), this, &QWidget::close);
  menu.addSeparator();
  menu.addAction(QString::fromLatin1(kAppTitle), this, [this] { OnSysCommand(kIdAboutCommand); });
  menu.addSeparator();
  QAction* full = menu.addAction(QStringLiteral("Save writes all blocks"), this,
                                 [this](bool checked) { SetFullSave(checked); });
  full->setCheckable(true);
  full->setChecked(full_save_);
  menu.addSeparator();
  // The profile on screen, edits and all, copied over another one.
  QMenu* copy = menu.addMenu(QStringLiteral("Copy profile to"));
  for (std::uint8_t to = 0; to < kProfileCount; ++to) {
    QAction* action = copy->addAction(QStringLiteral("User Profile %1").arg(to + 1), this,
                                      [this, to] { CopyShownProfileTo(to); });
    action->setEnabled(to != Config().current_profile);
  }
  menu.exec(event->globalPos());
}

}  // namespace qp40
