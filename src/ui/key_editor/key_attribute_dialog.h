#pragma once

#include <QDialog>
#include <functional>

#include "editing/key_attribute_logic.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace qp40 {

class CSoftKeyBoard;

// The key configuration dialog: shows the state of its window-free logic and hands it what the
// user does. OK confirms through the logic and hands the key edit it computes to `apply`; when
// that cannot store the text (a full table) the dialog stays open.
class CKeyAttribute : public QDialog {
  Q_OBJECT

 public:
  // Ids of the controls this dialog adds: the capture toggle and the text's limit line.
  static constexpr int kIdCapture = 4120;
  static constexpr int kIdLimit = 4121;

  // Puts the key edit of OK on the key; false when it could not (the user was told).
  using ApplyEdit = std::function<bool(const KeyEdit& edit)>;

  // `logic` must have its heading and form set; the dialog opens it.
  CKeyAttribute(KeyAttributeLogic& logic, CSoftKeyBoard& keyboard, ApplyEdit apply,
                QWidget* parent = nullptr);

  KeyAttributeLogic& Logic() { return logic_; }
  // How the last OK ended; kStayOpen until OK was pressed.
  KeyAttributeLogic::ConfirmOutcome Outcome() const { return outcome_; }
  // True while the capture toggle waits for a key press.
  bool Capturing() const;

  void accept() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ConnectControls();
  // Shows the logic's state in the controls.
  void Sync();
  void PutFocusOnTarget();
  void OpenScreenKeyboard();
  bool CaptureKey(const QKeyEvent& event);

  KeyAttributeLogic& logic_;
  CSoftKeyBoard& keyboard_;
  ApplyEdit apply_;
  KeyAttributeLogic::ConfirmOutcome outcome_ = KeyAttributeLogic::ConfirmOutcome::kStayOpen;
};

}  // namespace qp40
