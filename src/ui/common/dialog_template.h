#pragma once

#include <QRect>
#include <QString>
#include <QWidget>
#include <span>

class QFont;

namespace qp40 {

// Kinds of control a dialog template can hold.
enum class ControlKind {
  kPushButton,
  kDefaultPushButton,
  kCheckBox,
  kDropDownList,  // a drop-down list; its height is the list's, the box itself is one line
  kEdit,          // a single-line edit
  kCenteredEdit,  // a single-line edit that centres its text
  kStaticText,
  kCenteredText,
  kGroupBox,
  kLogEdit,        // multi-line edit with a vertical scroll bar
  kTextEdit,       // multi-line plain-text edit with a vertical scroll bar that takes Return
  kEditableCombo,  // a combo box with an edit field; its height is the list's, like kDropDownList
  kColorButton,    // owner-drawn key button
  kProgressBar,
};

// Id of controls that are never looked up (labels and frames).
inline constexpr int kStaticId = -1;

// One control of a template: position and size in dialog units.
struct ControlEntry {
  int id;
  ControlKind kind;
  const char* caption;  // UTF-8
  int x;
  int y;
  int width;
  int height;
};

// A dialog template: caption, client size in dialog units and the controls in tab order.
struct DialogTemplate {
  const char* caption;
  int width;
  int height;
  std::span<const ControlEntry> controls;
};

// Converts dialog units to pixels with a font's metrics: a horizontal unit is a quarter of the
// font's average character width, a vertical unit an eighth of its height.
class DialogUnits {
 public:
  explicit DialogUnits(const QFont& font);
  DialogUnits(int base_width, int base_height)
      : base_width_(base_width), base_height_(base_height) {}

  int ToPixelsX(int units) const;
  int ToPixelsY(int units) const;
  QRect ToPixels(int x, int y, int width, int height) const;
  int BaseWidth() const { return base_width_; }
  int BaseHeight() const { return base_height_; }

 private:
  int base_width_;
  int base_height_;
};

// Builds `dialog` from a template: sets its caption and client size and creates every control
// as a direct child, named by its id so that DialogItem finds it. Controls are created in table
// order, so a group box listed before its members stays behind them.
void BuildDialog(QWidget& dialog, const DialogTemplate& dialog_template);

// The control of `dialog` with this id, or nullptr when there is none of that type.
template <typename Control = QWidget>
Control* DialogItem(const QWidget& dialog, int id) {
  return dialog.findChild<Control*>(QStringLiteral("id%1").arg(id), Qt::FindDirectChildrenOnly);
}

// Sets the text of the control with this id; ignores an unknown id.
void SetItemText(const QWidget& dialog, int id, const QString& text);
// Enables or disables a control; ignores an unknown id.
void EnableItem(const QWidget& dialog, int id, bool enabled);

}  // namespace qp40
