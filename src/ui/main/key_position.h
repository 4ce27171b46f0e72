#pragma once

#include "keys/board_layout.h"

namespace qp40 {

// Row and column of a key button, from its control id.
struct KeyPosition {
  int row = 0;
  int column = 0;
  bool valid = false;
};

// Row and column of a key button id 3011..3068.
inline KeyPosition PositionOfKeyId(int control_id) {
  const int column = (control_id - 3000) % 10;
  const int row = (control_id - 3000 - column) / 10;
  const bool valid = control_id >= KeyControlId(1, 1) && row >= 1 && row <= kGridRowCount &&
                     column >= 1 && column <= kGridColumnCount;
  return {row, column, valid};
}

// Index of the per-key tables (highlight flags, key labels): row * 9 + column.
inline int KeyTableIndex(int row, int column) { return row * 9 + column; }

}  // namespace qp40
