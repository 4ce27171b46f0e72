#include <algorithm>

#include "keys/key_label.h"
#include "log/text_format.h"
#include "ui/common/clr_button.h"
#include "ui/main/main_dialog.h"

namespace qp40 {

int CMorvelDlg::PositionOfButton(const QObject* button) const {
  const auto found = std::find(key_buttons_.begin(), key_buttons_.end(), button);
  return found == key_buttons_.end() ? -1 : static_cast<int>(found - key_buttons_.begin());
}

void CMorvelDlg::CopyKey(int row, int column) {
  if (row < 1 || row > kGridRowCount || column < 1 || column > kGridColumnCount) return;
  const auto position = GridPosition(row, column);
  copied_key_ = services_.session.CopyKey(position);
  services_.log.AppendLog(FormatText(">> Key %d%d copied", row, column));
  KeypadWentAway();
}

bool CMorvelDlg::PasteKey(int row, int column) {
  if (!copied_key_ || row < 1 || row > kGridRowCount || column < 1 || column > kGridColumnCount) {
    return false;
  }
  Configuration& config = Config();
  const auto position = GridPosition(row, column);
  const EditState before = CurrentState();
  const bool pasted = services_.session.PasteKey(position, *copied_key_);
  if (pasted) {
    const KeyActionRecord record = WorkingRecord(config.working_profile, position);
    RefreshKeyLabels();
    RecordStep(FormatText("Paste on key %d%d: ", row, column) +
                   KeyLabel(record, config.burst_table, config.string_unit_table),
               before);
  }
  KeypadWentAway();
  return pasted;
}

bool CMorvelDlg::CopyShownProfileTo(std::uint8_t to) {
  Configuration& config = Config();
  const EditState before = CurrentState();
  const std::uint8_t from = config.current_profile;
  const bool copied = services_.session.CopyShownProfile(to);
  if (copied) {
    services_.log.AppendLog(FormatText(">> Profile %d copied to Profile %d", from + 1, to + 1));
    RecordStep(FormatText("Copy Profile %d to Profile %d", from + 1, to + 1), before);
  }
  KeypadWentAway();
  return copied;
}

}  // namespace qp40
