#pragma once

#include <QDialog>
#include <QPointer>
#include <functional>

#include "editing/screen_keyboard.h"

class QLineEdit;

namespace qp40 {

// The screen keyboard window: the keyboard picture, media keys, keypad tools and mouse buttons.
// Enter, Escape and the close box hide it.
class SoftKeyBoardWindow : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kSearchId = 3300;

  explicit SoftKeyBoardWindow(QWidget* owner);

  // Highlights the buttons whose caption or pick name contains `text`, in any case.
  void HighlightMatches(const QString& text);
  // Ids of the buttons highlighted now.
  std::vector<int> HighlightedButtons() const;

 signals:
  void Picked(const qp40::ScreenKeyPick& pick);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

// One screen keyboard of an owner kind, kept for the whole run. Its window is made when an owner
// first asks for it, as a child of that owner, and goes with it.
class CSoftKeyBoard {
 public:
  using Delivery = std::function<void(const ScreenKeyPick&)>;

  // Shows the keyboard beside `owner`, making its window first when it has none (or one of
  // another owner); picks go to `deliver`.
  void Open(QWidget& owner, Delivery deliver);
  // Hides the window if there is one.
  void Hide();
  SoftKeyBoardWindow* Window() const { return window_; }

 private:
  QPointer<SoftKeyBoardWindow> window_;
  Delivery deliver_;
};

}  // namespace qp40
