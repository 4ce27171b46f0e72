#include <QKeyEvent>
#include <cstdlib>
#include <limits>

#include "editing/key_attribute_logic.h"
#include "keys/key_label.h"
#include "log/text_format.h"
#include "ui/common/clr_button.h"
#include "ui/key_editor/key_attribute_dialog.h"
#include "ui/main/key_position.h"
#include "ui/main/main_dialog.h"

namespace qp40 {
namespace {

// Colour table indices of a key click: grey for the clicked key, black to take a highlight back.
constexpr int kHighlightColorIndex = 0;
constexpr int kUnhighlightColorIndex = 1;
constexpr const char* kNoLabel = "NULL";

}  // namespace

void CMorvelDlg::ConnectKeyButtons() {
  for (int row = 1; row <= kGridRowCount; ++row) {
    for (int column = 1; column <= kGridColumnCount; ++column) {
      CClrButton* button = KeyButton(row, column);
      const int id = KeyControlId(row, column);
      connect(button, &CClrButton::clicked, this, [this, id] { OnKeyClicked(id); });
      button->setFocusPolicy(Qt::StrongFocus);
      button->installEventFilter(this);
    }
  }
}

void CMorvelDlg::HighlightClickedKey(int control_id, int table_index) {
  if (highlight_flags_[table_index] != 0) {
    SetKeyButtonColors(control_id, kUnhighlightColorIndex, 1, kKeyTextColorIndex);
    return;
  }
  SetKeyButtonColors(control_id, kHighlightColorIndex, 1, kKeyTextColorIndex);
  // Other highlighted keys that never got a label from the key dialog lose their highlight.
  for (int row = 1; row <= kGridRowCount; ++row) {
    for (int column = 1; column <= kGridColumnCount; ++column) {
      const int index = KeyTableIndex(row, column);
      const int id = KeyControlId(row, column);
      if (id != control_id && highlight_flags_[index] != 0 && key_labels_[index] == kNoLabel) {
        SetKeyButtonColors(id, kUnhighlightColorIndex, 0, kKeyTextColorIndex);
      }
    }
  }
}

void CMorvelDlg::OnKeyClicked(int control_id) {
  // While the chord editor is open, a key of the grid picks a trigger key instead.
  if (chord_editor_ != nullptr) {
    PickChordTrigger(control_id);
    return;
  }
  const KeyPosition key = PositionOfKeyId(control_id);
  if (!key.valid) return;
  const int index = KeyTableIndex(key.row, key.column);
  HighlightClickedKey(control_id, index);

  Configuration& config = Config();
  const std::size_t position = GridPosition(key.row, key.column);
  const EditState before = CurrentState();
  KeyAttributeLogic logic(editing_session_, config);
  logic.SetHeading(
      FormatText("Key%d%d (row %d,col %d) ", key.row, key.column, key.row, key.column));
  const KeyActionRecord held = WorkingRecord(config.working_profile, position);
  logic.SetForm(DecodeKeyAction(held), services_.session.KeyText(held).value_or(std::string()));
  CKeyAttribute dialog(
      logic, key_keyboard_,
      [this, position](const KeyEdit& edit) {
        return services_.session.ApplyKeyEdit(position, edit).status == SessionStatus::kDone;
      },
      this);
  // Whatever the dialog changed, texts included, is one step: undo gives it all back.
  const auto record_step = [&] {
    const KeyActionRecord now = WorkingRecord(config.working_profile, position);
    RecordStep(FormatText("Key %d%d: ", key.row, key.column) +
                   KeyLabel(now, config.burst_table, config.string_unit_table),
               before);
    KeypadWentAway();
  };
  if (RunDialog(dialog) != QDialog::Accepted) {
    record_step();
    return;
  }

  if (!logic.LabelText().empty()) key_labels_[index] = QString::fromStdString(logic.LabelText());
  RefreshKeyLabels();
  record_step();
  KeyButton(key.row, key.column)->setFocus();
}

CClrButton* CMorvelDlg::NeighbourKey(const CClrButton& from, int arrow_key) const {
  const QPoint start = from.geometry().center();
  CClrButton* best = nullptr;
  long long best_distance = std::numeric_limits<long long>::max();
  for (CClrButton* candidate : key_buttons_) {
    if (candidate == &from || !candidate->isVisible()) continue;
    const QPoint d = candidate->geometry().center() - start;
    // Along the arrow counts once, across it three times: the next key in that row or column
    // wins over a nearer one beside it.
    long long along = 0;
    long long across = 0;
    switch (arrow_key) {
      case Qt::Key_Left:
        along = -d.x();
        across = d.y();
        break;
      case Qt::Key_Right:
        along = d.x();
        across = d.y();
        break;
      case Qt::Key_Up:
        along = -d.y();
        across = d.x();
        break;
      case Qt::Key_Down:
        along = d.y();
        across = d.x();
        break;
      default:
        return nullptr;
    }
    if (along <= 0) continue;
    const long long distance = along + 3 * std::llabs(across);
    if (distance < best_distance) {
      best_distance = distance;
      best = candidate;
    }
  }
  return best;
}

bool CMorvelDlg::eventFilter(QObject* watched, QEvent* event) {
  auto* button = qobject_cast<CClrButton*>(watched);
  if (button != nullptr && event->type() == QEvent::KeyPress) {
    const auto& key_event = static_cast<const QKeyEvent&>(*event);
    switch (key_event.key()) {
      case Qt::Key_Left:
      case Qt::Key_Right:
      case Qt::Key_Up:
      case Qt::Key_Down:
        if (CClrButton* next = NeighbourKey(*button, key_event.key())) next->setFocus();
        return true;
      case Qt::Key_Return:
      case Qt::Key_Enter:
      case Qt::Key_Space:
        if (!key_event.isAutoRepeat()) button->click();
        return true;
      default:
        break;
    }
    const int position = PositionOfButton(button);
    if (position >= 0 && key_event.matches(QKeySequence::Copy)) {
      CopyKey(position / kGridColumnCount + 1, position % kGridColumnCount + 1);
      return true;
    }
    if (position >= 0 && key_event.matches(QKeySequence::Paste)) {
      if (ShortcutsAllowed()) {
        PasteKey(position / kGridColumnCount + 1, position % kGridColumnCount + 1);
      }
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace qp40
