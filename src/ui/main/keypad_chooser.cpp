#include <QComboBox>
#include <QPushButton>
#include <algorithm>
#include <string>
#include <string_view>

#include "keys/board_layout.h"
#include "log/clock.h"
#include "log/log.h"
#include "log/notifier.h"
#include "session/keypad_list.h"
#include "ui/common/clr_button.h"
#include "ui/common/dialog_template.h"
#include "ui/main/main_dialog.h"

namespace qp40 {
namespace {

constexpr const char* kNoKeypadChosen = "Choose a keypad";

// Listing the keypads opens each one briefly: what that would log or show is routine, and a
// keypad that does not open simply shows no identity.
class QuietNotifier final : public Notifier {
 public:
  void ShowMessage(std::string_view /*text*/) override {}
};

class QuietSink final : public LogSink {
 public:
  void OnLineAppended(std::string_view /*line*/, const std::string& /*whole_log*/) override {}
};

struct QuietLog {
  QuietLog() { log.SetSink(&sink); }
  SystemClock clock;
  QuietNotifier notifier;
  QuietSink sink;
  Log log{clock, notifier};
};

QString IdentityText(const ListedKeypad& keypad) {
  return keypad.identity ? QString::fromStdString(IdentityHex(*keypad.identity))
                         : QStringLiteral("identity unknown");
}

}  // namespace

bool CMorvelDlg::AttachChosenKeypad() {
  if (chosen_path_.empty()) return services_.session.Attach().status == SessionStatus::kDone;
  // The keypad chosen among several comes back alone; another one waits to be chosen.
  return services_.session.Attach(chosen_path_).status == SessionStatus::kDone;
}

void CMorvelDlg::ShowKeypadChooser(bool show) {
  if (keypad_chooser_ == nullptr) {
    if (!show) return;
    keypad_chooser_ = new QComboBox(this);
    keypad_chooser_->setPlaceholderText(QString::fromLatin1(kNoKeypadChosen));
    keypad_chooser_->setToolTip(QStringLiteral("The keypad the window shows and writes to"));
    name_keypad_button_ = new QPushButton(QStringLiteral("Name..."), this);
    name_keypad_button_->setToolTip(QStringLiteral("Give the keypad shown a short name"));
    connect(keypad_chooser_, &QComboBox::activated, this, &CMorvelDlg::OnKeypadChosen);
    connect(name_keypad_button_, &QPushButton::clicked, this, &CMorvelDlg::OnNameKeypad);
  }
  if (show == (chooser_offset_ != 0)) return;

  // The chooser takes a row above the grid; everything else moves down by that row.
  const QRect first_key = KeyButton(1, 1)->geometry();
  const int margin = DialogUnits(font()).ToPixelsY(4);
  const int row = keypad_chooser_->sizeHint().height() + margin;
  const int shift = show ? row : -chooser_offset_;
  for (QWidget* control : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (control == keypad_chooser_ || control == name_keypad_button_ || control->isWindow()) {
      continue;
    }
    control->move(control->x(), control->y() + shift);
  }
  chooser_offset_ = show ? row : 0;
  setMinimumSize(minimumWidth(), minimumHeight() + shift);
  resize(width(), height() + shift);

  // The chooser and its button span the grid's top row.
  const int button_width = name_keypad_button_->sizeHint().width();
  const int grid_right = KeyButton(1, kGridColumnCount)->geometry().right();
  const int top = first_key.y() - (show ? 0 : row);
  keypad_chooser_->setGeometry(first_key.x(), top,
                               std::max(grid_right - first_key.x() - button_width - margin, 0),
                               keypad_chooser_->sizeHint().height());
  name_keypad_button_->setGeometry(keypad_chooser_->geometry().right() + margin, top, button_width,
                                   keypad_chooser_->sizeHint().height());
  keypad_chooser_->setVisible(show);
  name_keypad_button_->setVisible(show);
}

void CMorvelDlg::RefreshKeypadChooser() {
  if (services_.keypads == nullptr) return;
  KeypadSession& session = services_.session;
  QuietLog quiet;
  KeypadList list = FindKeypadList(*services_.keypads, quiet.log, quiet.notifier);
  const bool connected = session.Connected();
  const bool several = list.keypads.size() > 1;
  // With a keypad chosen among several away, the others stay on offer even when one is left.
  const bool show = several || (!connected && !chosen_path_.empty() && !list.keypads.empty());
  if (!show) {
    keypad_title_.clear();
    ShowKeypadChooser(false);
    UpdateTitle();
    return;
  }
  // The keypad shown is busy with the session; it is asked nothing else meanwhile.
  ReadKeypadDetails(list, *services_.keypads, quiet.log, quiet.notifier,
                    connected ? session.OpenPath() : std::string());
  for (ListedKeypad& keypad : list.keypads) {
    if (connected && keypad.path == session.OpenPath()) {
      keypad.identity = session.Link().GetDeviceId();
    }
  }
  MarkSharedIdentities(list);
  if (connected) chosen_path_ = session.OpenPath();

  ShowKeypadChooser(true);
  keypad_chooser_->clear();
  keypad_title_.clear();
  for (const ListedKeypad& keypad : list.keypads) {
    const QString identity = IdentityText(keypad);
    const QString name = keypad.identity ? services_.names->Name(identity) : QString();
    QString text = QString::number(keypad.number) + QStringLiteral("  ");
    text +=
        name.isEmpty() ? identity : name + QStringLiteral("  (") + identity + QStringLiteral(")");
    // Clones share an identity; their paths tell them apart.
    if (keypad.shared_identity) {
      text += QStringLiteral("  at ") + QString::fromStdString(keypad.path);
    }
    keypad_chooser_->addItem(text, QString::fromStdString(keypad.path));
    if (connected && keypad.path == session.OpenPath()) {
      keypad_chooser_->setCurrentIndex(keypad_chooser_->count() - 1);
      keypad_title_ = name.isEmpty() ? identity : name;
    }
  }
  if (!connected) keypad_chooser_->setCurrentIndex(-1);
  name_keypad_button_->setEnabled(connected);
  UpdateTitle();
}

void CMorvelDlg::OnKeypadChosen(int index) {
  if (keypad_chooser_ == nullptr || index < 0 || index >= keypad_chooser_->count()) return;
  KeypadSession& session = services_.session;
  const std::string path = keypad_chooser_->itemData(index).toString().toStdString();
  if (session.Connected() && path == session.OpenPath()) return;
  // While the question is up, the chooser still names the keypad whose edits it is about.
  if (session.Connected()) {
    keypad_chooser_->setCurrentIndex(
        keypad_chooser_->findData(QString::fromStdString(session.OpenPath())));
  }
  // Edits the keypad shown does not hold are saved or dropped first, or the switch is off.
  if (busy_ || !MayDiscardEdits()) {
    RefreshKeypadChooser();
    return;
  }
  if (session.Connected()) session.Detach();
  chosen_path_ = path;
  if (session.Attach(path).status != SessionStatus::kDone) {
    services_.log.AppendLog(">> The keypad chosen could not be opened");
    RefreshKeypadChooser();
    return;
  }
  ShowAttachedKeypad();
}

void CMorvelDlg::OnNameKeypad() {
  if (!services_.session.Connected() || services_.names == nullptr) return;
  const QString identity =
      QString::fromStdString(IdentityHex(services_.session.Link().GetDeviceId()));
  const std::optional<QString> name = services_.prompts.AskText(
      this, QStringLiteral("A short name for keypad ") + identity + QStringLiteral(":"),
      services_.names->Name(identity));
  if (!name) return;
  services_.names->SetName(identity, name->trimmed());
  RefreshKeypadChooser();
}

}  // namespace qp40
