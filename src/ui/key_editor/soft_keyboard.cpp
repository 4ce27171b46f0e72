#include "ui/key_editor/soft_keyboard.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <vector>

#include "ui/common/dialog_template.h"

namespace qp40 {
namespace {

constexpr int kWindowWidth = 397;
constexpr int kWindowHeight = 245;
constexpr int kWindowPosition = 100;
// The keyboard's own background, also behind its labels and group boxes.
const QColor kBackground(20, 120, 150);
const char* const kMatchStyle = "background-color: rgb(255, 213, 79);";

constexpr ControlEntry kFrames[] = {
    {kStaticId, ControlKind::kGroupBox, "Multi-media Button", 7, 7, 383, 48},
    {kStaticId, ControlKind::kGroupBox, "Profile&&Reboot", 7, 171, 383, 26},
    {kStaticId, ControlKind::kGroupBox, "Mouse Button", 7, 200, 383, 29},
    {kStaticId, ControlKind::kStaticText, "MAC OS  Option = Alt , Command = Win ", 242, 161, 140,
     8},
    {SoftKeyBoardWindow::kSearchId, ControlKind::kEdit, "", 14, 57, 120, 12},
};

std::vector<ControlEntry> TemplateControls() {
  std::vector<ControlEntry> controls(std::begin(kFrames), std::end(kFrames));
  for (const ScreenKeyboardButton& button : ScreenKeyboardButtons()) {
    controls.push_back({button.id, ControlKind::kPushButton, button.caption.data(), button.x,
                        button.y, button.width, button.height});
  }
  return controls;
}

}  // namespace

SoftKeyBoardWindow::SoftKeyBoardWindow(QWidget* owner)
    : QDialog(owner, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint) {
  QFont font(QStringLiteral("Calibri"));
  font.setPointSize(10);
  setFont(font);
  const std::vector<ControlEntry> controls = TemplateControls();
  BuildDialog(*this, {"Screen Keyboard", kWindowWidth, kWindowHeight, controls});
  const DialogUnits units(this->font());
  move(units.ToPixelsX(kWindowPosition), units.ToPixelsY(kWindowPosition));

  QPalette background = palette();
  background.setColor(QPalette::Window, kBackground);
  setPalette(background);
  setAutoFillBackground(true);

  for (const ScreenKeyboardButton& entry : ScreenKeyboardButtons()) {
    auto* button = DialogItem<QPushButton>(*this, entry.id);
    // Buttons keep the ordinary button colours and never take the focus from the owner's field.
    button->setPalette(QPalette());
    button->setAutoDefault(false);
    button->setFocusPolicy(Qt::NoFocus);
    if (entry.hidden) {
      button->hide();
      button->setEnabled(false);
      continue;
    }
    const int id = entry.id;
    connect(button, &QPushButton::clicked, this, [this, id] {
      if (const std::optional<ScreenKeyPick> pick = PickOfButton(id)) emit Picked(*pick);
    });
  }
  auto* search = DialogItem<QLineEdit>(*this, kSearchId);
  search->setPalette(QPalette());
  search->setPlaceholderText(QStringLiteral("Search keys"));
  search->setClearButtonEnabled(true);
  connect(search, &QLineEdit::textChanged, this, &SoftKeyBoardWindow::HighlightMatches);
}

void SoftKeyBoardWindow::HighlightMatches(const QString& text) {
  const QString wanted = text.trimmed();
  for (const ScreenKeyboardButton& entry : ScreenKeyboardButtons()) {
    if (entry.hidden) continue;
    const std::optional<ScreenKeyPick> pick = PickOfButton(entry.id);
    const QString caption =
        QString::fromUtf8(entry.caption.data(), static_cast<qsizetype>(entry.caption.size()));
    const bool match =
        !wanted.isEmpty() &&
        (caption.contains(wanted, Qt::CaseInsensitive) ||
         (pick && QString::fromStdString(pick->name).contains(wanted, Qt::CaseInsensitive)));
    DialogItem<QPushButton>(*this, entry.id)->setStyleSheet(match ? kMatchStyle : "");
  }
}

std::vector<int> SoftKeyBoardWindow::HighlightedButtons() const {
  std::vector<int> ids;
  for (const ScreenKeyboardButton& entry : ScreenKeyboardButtons()) {
    if (!DialogItem<QPushButton>(*this, entry.id)->styleSheet().isEmpty()) ids.push_back(entry.id);
  }
  return ids;
}

void SoftKeyBoardWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    hide();
    return;
  }
  QDialog::keyPressEvent(event);
}

void CSoftKeyBoard::Open(QWidget& owner, Delivery deliver) {
  deliver_ = std::move(deliver);
  if (!window_ || window_->parentWidget() != &owner) {
    if (window_) window_->deleteLater();
    window_ = new SoftKeyBoardWindow(&owner);
    QObject::connect(window_, &SoftKeyBoardWindow::Picked, window_,
                     [this](const ScreenKeyPick& pick) {
                       if (deliver_) deliver_(pick);
                     });
  }
  window_->show();
  window_->raise();
}

void CSoftKeyBoard::Hide() {
  if (window_) window_->hide();
}

}  // namespace qp40
