#pragma once

#include "ui/common/dialog_template.h"

namespace qp40 {

// The main dialog: the board settings to the left of the key grid, the profile commands below
// it and the log across the bottom. The key buttons are listed without a size; the board layout
// places them in pixels.
const DialogTemplate& MainDialogTemplate();

// Margin kept around the key grid and the log, in dialog units.
inline constexpr int kMainDialogMargin = 6;

}  // namespace qp40
