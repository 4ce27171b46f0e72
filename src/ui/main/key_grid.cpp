#include <QCheckBox>
#include <QComboBox>
#include <QKeySequence>
#include <array>

#include "keys/board_layout.h"
#include "keys/board_settings_names.h"
#include "keys/key_colors.h"
#include "keys/key_label.h"
#include "ui/common/clr_button.h"
#include "ui/common/dialog_template.h"
#include "ui/common/log_pane.h"
#include "ui/main/key_position.h"
#include "ui/main/main_dialog.h"
#include "ui/main/main_dialog_ids.h"

namespace qp40 {

CClrButton* CMorvelDlg::KeyButton(int row, int column) const {
  if (row < 1 || row > kGridRowCount || column < 1 || column > kGridColumnCount) return nullptr;
  return key_buttons_[GridPosition(row, column)];
}

LogPane* CMorvelDlg::LogWindow() const { return log_pane_; }

std::uint8_t CMorvelDlg::HighlightFlag(int row, int column) const {
  const int index = KeyTableIndex(row, column);
  return index >= 0 && index < kKeyTableSize ? highlight_flags_[index] : 0;
}

QString CMorvelDlg::KeyLabelEntry(int row, int column) const {
  const int index = KeyTableIndex(row, column);
  return index >= 0 && index < kKeyTableSize ? key_labels_[index] : QString();
}

void CMorvelDlg::SetKeyButtonColors(int control_id, int background_index, std::uint8_t highlight,
                                    int text_index) {
  const KeyPosition position = PositionOfKeyId(control_id);
  if (!position.valid) return;
  KeyButton(position.row, position.column)
      ->SetColors(KeyColor(text_index), KeyColor(background_index));
  highlight_flags_[KeyTableIndex(position.row, position.column)] = highlight;
}

void CMorvelDlg::ApplyBoardLayout(int board_code) {
  if (zoom_ == 0.0f) {
    const int dpi = ScreenDpi();
    zoom_ = ZoomForDpi(dpi);
    services_.log.AppendLog(ZoomLogLine(dpi, zoom_));
  }
  const auto board = static_cast<std::uint8_t>(board_code == 0 ? kBoard48Keys : board_code);
  board_type_ = board;

  const BoardSettingsReader settings(Config().working_profile);
  board_list_->setCurrentIndex(BoardTypeIndex(board));
  path_list_->setCurrentIndex(PathTypeList().IndexOf(settings.PathType()));
  usb_list_->setCurrentIndex(UsbTypeList().IndexOf(settings.UsbType()));

  // Typing, backlight and the path belong to the 43-key board alone.
  const bool board43 = board == kBoard43Keys;
  EnableItem(*this, kIdTyping, board43);
  EnableItem(*this, kIdBacklight, board43);
  EnableItem(*this, kIdPathTypeList, board43);
  EnableItem(*this, kIdSticky, true);
  for (const FeatureBox& box : kFeatureBoxes) {
    DialogItem<QCheckBox>(*this, box.id)->setChecked(settings.FeatureOn(box.feature));
  }

  // Each button is shown or hidden once: a key that stays on the board keeps the keyboard focus
  // through a relabelling (an undo, say).
  std::array<bool, kGridKeyCount> visible{};
  for (const KeyPlacement& placement : PlaceKeys(board, zoom_)) {
    const KeyPosition position = PositionOfKeyId(placement.control_id);
    if (!position.valid || !placement.visible) continue;
    KeyButton(position.row, position.column)
        ->setGeometry(placement.x, placement.y + chooser_offset_, placement.width,
                      placement.height);
    visible[GridPosition(position.row, position.column)] = true;
  }
  for (std::size_t i = 0; i < key_buttons_.size(); ++i) {
    key_buttons_[i]->setVisible(visible[i]);
  }
}

void CMorvelDlg::RefreshKeyLabels() {
  const Configuration& config = Config();
  ApplyBoardLayout(BoardSettingsReader(config.working_profile).BoardType());
  for (int row = 1; row <= kGridRowCount; ++row) {
    for (int column = 1; column <= kGridColumnCount; ++column) {
      const std::size_t position = GridPosition(row, column);
      const KeyActionRecord record = WorkingRecord(config.working_profile, position);
      const std::string label = KeyLabel(record, config.burst_table, config.string_unit_table);
      CClrButton* button = KeyButton(row, column);
      button->setText(FromLatin1(label));
      // A label is the keypad's text, not a caption: an "&" in a burst text must not give the
      // button a keyboard shortcut.
      button->setShortcut(QKeySequence());
      SetKeyButtonColors(KeyControlId(row, column),
                         KeyBackgroundColorIndex(KeyLabelClass(record[0])), 0, kKeyTextColorIndex);
    }
  }
  EnableItem(*this, kIdMacroScriptEdit, true);
  // The tooltips come with the marks of unsaved keys.
  UpdateKeyMarks();
}

}  // namespace qp40
