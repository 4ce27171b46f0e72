#include "ui/common/dialog_template.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>

#include "ui/common/clr_button.h"
#include "ui/common/log_pane.h"

namespace qp40 {

namespace {

// The average character width the way dialog units define it: the mean advance of the 52
// letters, rounded.
int AverageLetterWidth(const QFontMetrics& metrics) {
  const int letters = metrics.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  return (letters / 26 + 1) / 2;
}

int MulDiv(int value, int numerator, int denominator) {
  const long long product = static_cast<long long>(value) * numerator;
  // Rounds half away from zero, as the dialog manager does.
  return static_cast<int>(product >= 0 ? (product + denominator / 2) / denominator
                                       : (product - denominator / 2) / denominator);
}

QWidget* CreateControl(QWidget& dialog, const ControlEntry& entry) {
  const QString caption = QString::fromUtf8(entry.caption);
  switch (entry.kind) {
    case ControlKind::kPushButton:
    case ControlKind::kDefaultPushButton: {
      auto* button = new QPushButton(caption, &dialog);
      button->setDefault(entry.kind == ControlKind::kDefaultPushButton);
      return button;
    }
    case ControlKind::kCheckBox:
      return new QCheckBox(caption, &dialog);
    case ControlKind::kDropDownList:
      return new QComboBox(&dialog);
    case ControlKind::kEdit:
    case ControlKind::kCenteredEdit: {
      auto* edit = new QLineEdit(caption, &dialog);
      if (entry.kind == ControlKind::kCenteredEdit) edit->setAlignment(Qt::AlignCenter);
      return edit;
    }
    case ControlKind::kStaticText:
      return new QLabel(caption, &dialog);
    case ControlKind::kCenteredText: {
      auto* label = new QLabel(caption, &dialog);
      label->setAlignment(Qt::AlignCenter);
      label->setWordWrap(true);
      return label;
    }
    case ControlKind::kGroupBox:
      return new QGroupBox(caption, &dialog);
    case ControlKind::kLogEdit:
      return new LogPane(&dialog);
    case ControlKind::kTextEdit: {
      auto* edit = new QPlainTextEdit(&dialog);
      edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
      edit->setTabChangesFocus(true);
      return edit;
    }
    case ControlKind::kEditableCombo: {
      auto* combo = new QComboBox(&dialog);
      combo->setEditable(true);
      // What the user types picks no entry; it never becomes one.
      combo->setInsertPolicy(QComboBox::NoInsert);
      return combo;
    }
    case ControlKind::kColorButton:
      return new CClrButton(caption, &dialog);
    case ControlKind::kProgressBar:
      return new QProgressBar(&dialog);
  }
  return nullptr;
}

}  // namespace

DialogUnits::DialogUnits(const QFont& font) {
  const QFontMetrics metrics(font);
  base_width_ = AverageLetterWidth(metrics);
  base_height_ = metrics.height();
}

int DialogUnits::ToPixelsX(int units) const { return MulDiv(units, base_width_, 4); }

int DialogUnits::ToPixelsY(int units) const { return MulDiv(units, base_height_, 8); }

QRect DialogUnits::ToPixels(int x, int y, int width, int height) const {
  return QRect(ToPixelsX(x), ToPixelsY(y), ToPixelsX(width), ToPixelsY(height));
}

void BuildDialog(QWidget& dialog, const DialogTemplate& dialog_template) {
  const DialogUnits units(dialog.font());
  dialog.setWindowTitle(QString::fromUtf8(dialog_template.caption));
  dialog.resize(units.ToPixelsX(dialog_template.width), units.ToPixelsY(dialog_template.height));
  for (const ControlEntry& entry : dialog_template.controls) {
    QWidget* control = CreateControl(dialog, entry);
    if (entry.id != kStaticId) {
      control->setObjectName(QStringLiteral("id%1").arg(entry.id));
    }
    QRect rect = units.ToPixels(entry.x, entry.y, entry.width, entry.height);
    if (entry.kind == ControlKind::kDropDownList || entry.kind == ControlKind::kEditableCombo) {
      // The template's height is that of the opened list; the closed box is one line high.
      rect.setHeight(control->sizeHint().height());
    }
    control->setGeometry(rect);
  }
}

void SetItemText(const QWidget& dialog, int id, const QString& text) {
  QWidget* control = DialogItem(dialog, id);
  if (auto* button = qobject_cast<QAbstractButton*>(control)) {
    button->setText(text);
  } else if (auto* label = qobject_cast<QLabel*>(control)) {
    label->setText(text);
  } else if (auto* group = qobject_cast<QGroupBox*>(control)) {
    group->setTitle(text);
  } else if (auto* edit = qobject_cast<QPlainTextEdit*>(control)) {
    edit->setPlainText(text);
  } else if (auto* line = qobject_cast<QLineEdit*>(control)) {
    line->setText(text);
  }
}

void EnableItem(const QWidget& dialog, int id, bool enabled) {
  if (QWidget* control = DialogItem(dialog, id)) {
    control->setEnabled(enabled);
  }
}

}  // namespace qp40
