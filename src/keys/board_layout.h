#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace qp40 {

// Board codes of settings byte 0. Any other code is laid out as the 48-key board.
inline constexpr std::uint8_t kBoard48Keys = 0x04;
inline constexpr std::uint8_t kBoard46Keys = 0x42;
inline constexpr std::uint8_t kBoard44Keys = 0x44;
inline constexpr std::uint8_t kBoard43Keys = 0x43;

// The key grid: 6 rows by 8 columns, entry 8 * (row - 1) + (column - 1).
inline constexpr int kGridRowCount = 6;
inline constexpr int kGridColumnCount = 8;
inline constexpr std::size_t kGridKeyCount =
    static_cast<std::size_t>(kGridRowCount) * kGridColumnCount;

// The grid entry of the key in `row` 1..6, `column` 1..8.
constexpr std::size_t GridPosition(int row, int column) {
  return static_cast<std::size_t>(row - 1) * kGridColumnCount +
         static_cast<std::size_t>(column - 1);
}

// Control ID of the key button in `row` 1..6, `column` 1..8: 3011 .. 3068.
constexpr int KeyControlId(int row, int column) { return 3000 + 10 * row + column; }

// One button of a board layout in layout units, before scaling. A key the board does not have
// has width 0 (and x, y, height 0 as well).
struct LayoutEntry {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  int control_id = 0;

  bool operator==(const LayoutEntry&) const = default;
};
using BoardLayoutTable = std::array<LayoutEntry, kGridKeyCount>;

// The layout table of a board code: its own for 0x42, 0x44 and 0x43, the 48-key table for 4 and
// every other code.
const BoardLayoutTable& BoardLayout(std::uint8_t board_code);

// Entry of the board type list for a board code: 1 for 0x42, 2 for 0x44, 3 for 0x43, 0 else.
int BoardTypeIndex(std::uint8_t board_code);

// Zoom factor of the grid for the main window's DPI: DPI / 96, computed in double precision and
// kept in single precision.
float ZoomForDpi(int dpi);

// The log line written when the zoom factor is first computed.
std::string ZoomLogLine(int dpi, float zoom);

// Where one key button goes on screen, in pixels of the dialog's client area.
struct KeyPlacement {
  bool visible = false;
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  int control_id = 0;

  bool operator==(const KeyPlacement&) const = default;
};

// The 48 key buttons of a board at `zoom`: x' = trunc(x*z + 80*z + 80), y' = trunc(y*z + 20*z),
// width and height trunc(size*z), in single precision. Hidden buttons keep zero geometry.
std::array<KeyPlacement, kGridKeyCount> PlaceKeys(std::uint8_t board_code, float zoom);

}  // namespace qp40
