#include <QAbstractButton>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <vector>

#include "editing/chord_editor_logic.h"
#include "model/profile_ops.h"
#include "ui/chord_editor/chord_edit_dialog.h"
#include "ui/common/clr_button.h"
#include "ui/common/dialog_template.h"
#include "ui/main/key_position.h"
#include "ui/main/main_dialog.h"
#include "ui/main/main_dialog_ids.h"

namespace qp40 {
namespace {

constexpr int kReloadPauseMs = 500;
const char* const kChordEditorTooltip = "Edit the two-key chords (Ctrl+T)";

// While the chord editor is open beside the window, the window's key buttons stay usable to pick
// trigger keys. Every other command waits, so that no command starts inside the editor's run,
// and nothing closes the window under the editor.
class ChordEditorScope final : public QObject {
 public:
  explicit ChordEditorScope(QDialog& window) : window_(window) {
    for (QWidget* control : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      const bool command = (qobject_cast<QAbstractButton*>(control) != nullptr &&
                            qobject_cast<CClrButton*>(control) == nullptr) ||
                           qobject_cast<QComboBox*>(control) != nullptr;
      if (!command || !control->isEnabled()) continue;
      control->setEnabled(false);
      disabled_.emplace_back(control);
    }
    window_.installEventFilter(this);
  }
  ~ChordEditorScope() override {
    window_.removeEventFilter(this);
    for (const QPointer<QWidget>& control : disabled_) {
      if (control) control->setEnabled(true);
    }
  }
  ChordEditorScope(const ChordEditorScope&) = delete;
  ChordEditorScope& operator=(const ChordEditorScope&) = delete;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != &window_) return false;
    switch (event->type()) {
      case QEvent::Close:
        event->ignore();
        return true;
      case QEvent::ContextMenu:
        return true;
      case QEvent::KeyPress:
        return static_cast<const QKeyEvent*>(event)->key() == Qt::Key_Escape;
      default:
        return false;
    }
  }

 private:
  QDialog& window_;
  std::vector<QPointer<QWidget>> disabled_;
};

}  // namespace

void CMorvelDlg::ConnectChordEditor() {
  auto* button = DialogItem<QPushButton>(*this, kIdChordEditor);
  connect(button, &QPushButton::clicked, this, &CMorvelDlg::OnChordEditor);
  button->setToolTip(QString::fromLatin1(kChordEditorTooltip));
  // A shortcut of its own: the button's caption, set later, would replace a button shortcut.
  auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_T), this);
  connect(shortcut, &QShortcut::activated, this, [this, button] {
    if (ShortcutsAllowed() && button->isEnabled() && button->isVisible()) button->click();
  });
}

void CMorvelDlg::OnChordEditor() {
  ChordEditorLogic logic(editing_session_, services_.session.Chords(), services_.notifier);
  CDialog2KeyClick editor(logic, chord_keyboard_, services_.prompts, this);
  chord_editor_ = &editor;
  {
    const ChordEditorScope scope(*this);
    services_.prompts.RunBesideWindow(editor);
  }
  chord_editor_ = nullptr;
  ReloadAfterChordEditor();
}

void CMorvelDlg::PickChordTrigger(int control_id) {
  const KeyPosition key = PositionOfKeyId(control_id);
  if (!key.valid || chord_editor_ == nullptr) return;
  const auto position = GridPosition(key.row, key.column);
  chord_editor_->TakeGridKey(WorkingRecord(Config().working_profile, position), key.row,
                             key.column);
}

void CMorvelDlg::ReloadAfterChordEditor() {
  // Without a keypad there is nothing to reload from; unsaved key edits stay when the user
  // wants them.
  if (!services_.session.Connected() || !MayDiscardEdits()) return;
  SelectProfile(Config(), 0, *this);
  Pause(kReloadPauseMs);
  LoadFromKeypad();
  SetEditProfileCaption("Edit Profile %d", 1);
}

}  // namespace qp40
