#include "ui/key_editor/key_attribute_dialog.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QStringList>
#include <array>

#include "keys/key_words.h"
#include "ui/common/dialog_template.h"
#include "ui/key_editor/key_capture.h"
#include "ui/key_editor/soft_keyboard.h"

namespace qp40 {
namespace {

using K = ControlKind;

constexpr ControlEntry kControls[] = {
    {kStaticId, K::kGroupBox, "Help", 7, 145, 354, 137},
    {kStaticId, K::kGroupBox, "", 7, 0, 438, 122},
    {kIdKeyHeading, K::kCenteredText, "", 162, 7, 120, 12},
    {kIdKeyTypeLabel, K::kStaticText, "", 42, 23, 98, 10},
    {kIdKeyTypeList, K::kDropDownList, "", 42, 35, 92, 163},
    {kIdKeyColumnHeading, K::kCenteredText, "", 200, 23, 169, 9},
    {kIdKeyCodeHeading, K::kCenteredText, "", 375, 23, 33, 11},
    {kIdKeyRow1Label, K::kStaticText, "属性1", 149, 36, 35, 12},
    {kIdKeyName1, K::kCenteredEdit, "", 199, 35, 161, 12},
    {kIdKeyCode1, K::kCenteredEdit, "", 376, 35, 31, 12},
    {kIdKeyUnusedList, K::kDropDownList, "", 262, 35, 108, 163},
    {CKeyAttribute::kIdCapture, K::kPushButton, "Capture", 149, 48, 45, 11},
    {CKeyAttribute::kIdLimit, K::kStaticText, "", 199, 48, 161, 9},
    {kIdKeyRow2Label, K::kStaticText, "属性2", 210, 60, 80, 12},
    {kIdKeyStopModeList, K::kDropDownList, "", 303, 59, 57, 163},
    {kIdKeyName2, K::kEdit, "", 295, 60, 65, 12},
    {kIdKeyCode2, K::kEdit, "", 376, 60, 31, 12},
    {kIdKeyRow3Label, K::kStaticText, "属性3", 203, 77, 87, 12},
    {kIdKeyName3, K::kEdit, "", 295, 75, 65, 12},
    {kIdKeyCode3, K::kEdit, "", 376, 75, 31, 12},
    {kIdKeyCtrl, K::kCheckBox, "Ctrl+", 41, 64, 40, 8},
    {kIdKeyAlt, K::kCheckBox, "Alt+", 87, 64, 32, 8},
    {kIdKeyShift, K::kCheckBox, "Shift+", 139, 64, 36, 8},
    {kIdKeyWin, K::kCheckBox, "Window+", 191, 64, 40, 8},
    {kIdKeyMouseLeft, K::kCheckBox, "Left+", 41, 75, 40, 8},
    {kIdKeyMouseMiddle, K::kCheckBox, "Middle+", 87, 75, 40, 8},
    {kIdKeyMouseRight, K::kCheckBox, "Right+", 139, 75, 40, 8},
    {kIdKeyMouseWheel, K::kCheckBox, "Wheel+", 191, 75, 36, 12},
    {kIdKeyKeyboardLabel, K::kStaticText, "", 304, 101, 66, 8},
    {kIdKeyScreenKeyboard, K::kPushButton, "", 375, 97, 31, 14},
    {kIdKeyOk, K::kDefaultPushButton, "", 373, 171, 51, 48},
    {kIdKeyCancel, K::kPushButton, "", 373, 228, 52, 43},
    {kIdKeyHelp, K::kStaticText, "", 14, 157, 346, 115},
};
constexpr DialogTemplate kTemplate = {"Key Configuration", 459, 284, kControls};

constexpr std::array<int, 6> kEdits = {kIdKeyName1, kIdKeyName2, kIdKeyName3,
                                       kIdKeyCode1, kIdKeyCode2, kIdKeyCode3};
constexpr std::array<int, 3> kNameEdits = {kIdKeyName1, kIdKeyName2, kIdKeyName3};
constexpr std::array<int, 8> kCheckBoxes = {kIdKeyCtrl,       kIdKeyAlt,       kIdKeyShift,
                                            kIdKeyWin,        kIdKeyMouseLeft, kIdKeyMouseMiddle,
                                            kIdKeyMouseRight, kIdKeyMouseWheel};
// Statics whose text the logic sets.
constexpr std::array<int, 11> kTexts = {kIdKeyHeading,     kIdKeyTypeLabel,     kIdKeyColumnHeading,
                                        kIdKeyCodeHeading, kIdKeyRow1Label,     kIdKeyRow2Label,
                                        kIdKeyRow3Label,   kIdKeyKeyboardLabel, kIdKeyHelp,
                                        kIdKeyOk,          kIdKeyCancel};
// Controls whose visibility the logic decides.
constexpr std::array<int, 22> kShown = {
    kIdKeyCtrl,           kIdKeyAlt,        kIdKeyShift,      kIdKeyWin,        kIdKeyMouseLeft,
    kIdKeyMouseMiddle,    kIdKeyMouseRight, kIdKeyMouseWheel, kIdKeyUnusedList, kIdKeyStopModeList,
    kIdKeyName1,          kIdKeyName2,      kIdKeyName3,      kIdKeyCode1,      kIdKeyCode2,
    kIdKeyCode3,          kIdKeyRow1Label,  kIdKeyRow2Label,  kIdKeyRow3Label,  kIdKeyCodeHeading,
    kIdKeyScreenKeyboard, kIdKeyTypeList};

QString FromUtf8(const std::string& text) { return QString::fromStdString(text); }

// A label shows "&&" as one ampersand, as the dialog's captions do; a carriage return inside a
// help text is no line break of its own.
QString LabelText(const std::string& text) {
  QString shown = FromUtf8(text);
  shown.remove(QLatin1Char('\r'));
  shown.replace(QStringLiteral("&&"), QStringLiteral("&"));
  return shown;
}

// The icon of the screen keyboard button: a small keyboard.
QIcon KeyboardIcon() {
  QPixmap pixmap(24, 16);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setPen(QPen(Qt::black, 1));
  painter.setBrush(Qt::white);
  painter.drawRoundedRect(QRectF(0.5, 0.5, 23, 15), 2, 2);
  painter.setBrush(Qt::black);
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 6; ++column) {
      painter.drawRect(3 + column * 3, 3 + row * 3, 1, 1);
    }
  }
  painter.drawRect(6, 12, 11, 1);
  return QIcon(pixmap);
}

// The key word table's names, for completing the name fields.
QStringList KeyWordNames() {
  QStringList names;
  for (std::size_t index = 0; index < kKeyWordsMatched; ++index) {
    const std::string_view name = KeyWordAt(index).name;
    const QString text = QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
    if (!text.isEmpty() && !names.contains(text)) names.push_back(text);
  }
  return names;
}

bool TakesKeyNames(int type) {
  return type == kTypeKeyboard || type == kTypeShortcut || type == kTypeReserved9 ||
         type == kTypeReservedA || type == kTypeReservedB;
}

}  // namespace

CKeyAttribute::CKeyAttribute(KeyAttributeLogic& logic, CSoftKeyBoard& keyboard, ApplyEdit apply,
                             QWidget* parent)
    : QDialog(parent), logic_(logic), keyboard_(keyboard), apply_(std::move(apply)) {
  BuildDialog(*this, kTemplate);
  auto* types = DialogItem<QComboBox>(*this, kIdKeyTypeList);
  for (const std::string& entry : KeyAttributeLogic::TypeListEntries()) {
    types->addItem(FromUtf8(entry));
  }
  auto* stop_modes = DialogItem<QComboBox>(*this, kIdKeyStopModeList);
  for (const std::string& entry : KeyAttributeLogic::StopModeEntries()) {
    stop_modes->addItem(FromUtf8(entry));
  }
  auto* screen_keyboard = DialogItem<QPushButton>(*this, kIdKeyScreenKeyboard);
  screen_keyboard->setIcon(KeyboardIcon());
  screen_keyboard->setAutoDefault(false);
  auto* capture = DialogItem<QPushButton>(*this, kIdCapture);
  capture->setCheckable(true);
  capture->setAutoDefault(false);
  capture->setToolTip(QStringLiteral("Press a key of your keyboard to assign it (Esc stops)"));
  DialogItem<QPushButton>(*this, kIdKeyCancel)->setAutoDefault(false);
  DialogItem<QLabel>(*this, kIdKeyHelp)->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  DialogItem<QLabel>(*this, kIdKeyHelp)->setWordWrap(true);

  auto* completer = new QCompleter(KeyWordNames(), this);
  completer->setCaseSensitivity(Qt::CaseInsensitive);
  completer->setFilterMode(Qt::MatchContains);
  for (int id : kNameEdits) DialogItem<QLineEdit>(*this, id)->setCompleter(completer);
  completer->popup()->installEventFilter(this);

  logic_.Open();
  ConnectControls();
  Sync();
  PutFocusOnTarget();
}

void CKeyAttribute::ConnectControls() {
  auto* types = DialogItem<QComboBox>(*this, kIdKeyTypeList);
  connect(types, &QComboBox::activated, this, [this](int index) {
    logic_.SelectType(index);
    Sync();
    PutFocusOnTarget();
  });
  types->installEventFilter(this);
  connect(DialogItem<QComboBox>(*this, kIdKeyStopModeList), &QComboBox::activated, this,
          [this](int index) { logic_.SelectStopMode(index); });
  for (int id : kEdits) {
    auto* edit = DialogItem<QLineEdit>(*this, id);
    edit->installEventFilter(this);
    connect(edit, &QLineEdit::textEdited, this, [this, id](const QString& text) {
      logic_.EditField(id, text.toStdString());
      Sync();
    });
  }
  // A name chosen from the completion list counts as typed.
  QCompleter* completer = DialogItem<QLineEdit>(*this, kIdKeyName1)->completer();
  connect(completer, qOverload<const QString&>(&QCompleter::activated), this,
          [this](const QString& text) {
            const int target = logic_.TargetField();
            logic_.EditField(target == kNoTargetField ? kIdKeyName1 : target, text.toStdString());
            Sync();
          });
  for (int id : kCheckBoxes) {
    auto* box = DialogItem<QCheckBox>(*this, id);
    connect(box, &QCheckBox::clicked, this,
            [this, id](bool checked) { logic_.SetChecked(id, checked); });
  }
  connect(DialogItem<QPushButton>(*this, kIdKeyScreenKeyboard), &QPushButton::clicked, this,
          &CKeyAttribute::OpenScreenKeyboard);
  connect(DialogItem<QPushButton>(*this, kIdKeyOk), &QPushButton::clicked, this,
          &CKeyAttribute::accept);
  connect(DialogItem<QPushButton>(*this, kIdKeyCancel), &QPushButton::clicked, this,
          &CKeyAttribute::reject);
  connect(DialogItem<QPushButton>(*this, kIdCapture), &QPushButton::toggled, this, [this](bool on) {
    if (on) {
      qApp->installEventFilter(this);
    } else {
      qApp->removeEventFilter(this);
    }
  });
}

void CKeyAttribute::Sync() {
  DialogItem<QComboBox>(*this, kIdKeyTypeList)->setCurrentIndex(logic_.TypeSelection());
  DialogItem<QComboBox>(*this, kIdKeyStopModeList)->setCurrentIndex(logic_.StopModeSelection());
  for (int id : kEdits) {
    auto* edit = DialogItem<QLineEdit>(*this, id);
    const QString text = FromUtf8(logic_.Text(id));
    if (edit->text() != text) edit->setText(text);
  }
  for (int id : kCheckBoxes) DialogItem<QCheckBox>(*this, id)->setChecked(logic_.Checked(id));
  for (int id : kTexts) SetItemText(*this, id, LabelText(logic_.Text(id)));
  DialogItem<QPushButton>(*this, kIdKeyScreenKeyboard)
      ->setToolTip(FromUtf8(logic_.Text(kIdKeyScreenKeyboard)));
  for (int id : kShown) DialogItem(*this, id)->setVisible(logic_.Visible(id));

  const int type = logic_.TypeSelection();
  auto* capture = DialogItem<QPushButton>(*this, kIdCapture);
  capture->setVisible(TakesKeyNames(type));
  if (!TakesKeyNames(type)) capture->setChecked(false);

  // The text's length against its limit, and what the keypad will not keep.
  auto* limit = DialogItem<QLabel>(*this, kIdLimit);
  const std::string limit_text = logic_.LimitText();
  const std::vector<std::string> unstored = logic_.UnstoredCharacters();
  QString shown = FromUtf8(limit_text);
  for (std::size_t i = 0; i < unstored.size(); ++i) {
    shown +=
        (i == 0 ? QStringLiteral("  not stored: ") : QStringLiteral(" ")) + FromUtf8(unstored[i]);
  }
  const std::size_t slash = limit_text.find('/');
  const bool over = slash != std::string::npos && std::stoul(limit_text.substr(0, slash)) >
                                                      std::stoul(limit_text.substr(slash + 1));
  limit->setText(shown);
  limit->setStyleSheet(over || !unstored.empty() ? QStringLiteral("color: rgb(192, 0, 0);")
                                                 : QString());
  limit->setVisible(!limit_text.empty());
}

void CKeyAttribute::PutFocusOnTarget() {
  if (QWidget* target = DialogItem(*this, logic_.FocusTarget())) target->setFocus();
}

void CKeyAttribute::OpenScreenKeyboard() {
  keyboard_.Open(*this, [this](const ScreenKeyPick& pick) {
    logic_.TakePick(pick);
    Sync();
  });
}

bool CKeyAttribute::Capturing() const {
  return DialogItem<QPushButton>(*this, kIdCapture)->isChecked();
}

bool CKeyAttribute::CaptureKey(const QKeyEvent& event) {
  auto* capture = DialogItem<QPushButton>(*this, kIdCapture);
  if (event.key() != Qt::Key_Escape) {
    const std::optional<std::uint8_t> usage = HidUsageOfKeyEvent(event);
    if (!usage) return true;  // a key the keypad has no code for: keep waiting
    int target = logic_.TargetField();
    if (target == kNoTargetField) {
      target = logic_.TypeSelection() == kTypeShortcut ? kIdKeyName2 : kIdKeyName1;
    }
    logic_.EditField(target, std::string(CodeToName(*usage, "")));
    Sync();
  }
  capture->setChecked(false);
  return true;
}

bool CKeyAttribute::eventFilter(QObject* watched, QEvent* event) {
  if (Capturing() &&
      (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride)) {
    if (event->type() == QEvent::KeyPress) return CaptureKey(static_cast<QKeyEvent&>(*event));
    event->accept();
    return true;
  }
  // Return while the completion list is open but nothing in it is chosen is the dialog's OK, as
  // it is without the list.
  auto* completer = DialogItem<QLineEdit>(*this, kIdKeyName1)->completer();
  if (completer != nullptr && watched == completer->popup() && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) &&
        !completer->popup()->currentIndex().isValid()) {
      completer->popup()->hide();
      accept();
      return true;
    }
  }
  if (event->type() == QEvent::FocusIn) {
    if (watched == DialogItem(*this, kIdKeyTypeList)) {
      keyboard_.Hide();
    } else if (auto* edit = qobject_cast<QLineEdit*>(watched)) {
      logic_.FocusField(edit->objectName().mid(2).toInt());
    }
  }
  return QDialog::eventFilter(watched, event);
}

void CKeyAttribute::accept() {
  outcome_ = logic_.Confirm();
  if (outcome_ == KeyAttributeLogic::ConfirmOutcome::kStore) {
    const std::optional<KeyEdit> edit = logic_.Edit();
    if (edit && apply_ && !apply_(*edit)) {
      logic_.EditRefused();
      outcome_ = KeyAttributeLogic::ConfirmOutcome::kStayOpen;
    }
  }
  Sync();
  if (outcome_ == KeyAttributeLogic::ConfirmOutcome::kStayOpen) return;
  qApp->removeEventFilter(this);
  keyboard_.Hide();
  QDialog::accept();
}

}  // namespace qp40
