#include "keys/board_layout.h"

#include <limits>

#include "keys/board_settings_names.h"
#include "log/text_format.h"

namespace qp40 {
namespace {

constexpr int kBaseKeyWidth = 78;
constexpr int kBaseKeyHeight = 40;
constexpr int kColumnPitch = 80;
constexpr int kRowPitch = 50;

// Every board starts from the same grid: 78 x 40 buttons, 80 units apart across, 50 down.
constexpr BoardLayoutTable BaseLayout() {
  BoardLayoutTable table{};
  for (int row = 1; row <= kGridRowCount; ++row) {
    for (int column = 1; column <= kGridColumnCount; ++column) {
      table[GridPosition(row, column)] = {kColumnPitch * (column - 1), kRowPitch * (row - 1),
                                          kBaseKeyWidth, kBaseKeyHeight, KeyControlId(row, column)};
    }
  }
  return table;
}

constexpr LayoutEntry& Key(BoardLayoutTable& table, int control_id) {
  const int row = (control_id - 3000) / 10;
  const int column = control_id % 10;
  return table[GridPosition(row, column)];
}

constexpr void Remove(BoardLayoutTable& table, int control_id) {
  Key(table, control_id) = {0, 0, 0, 0, control_id};
}

constexpr BoardLayoutTable Layout46() {
  BoardLayoutTable table = BaseLayout();
  Key(table, 3058).height = 90;  // spans rows 5 and 6
  Remove(table, 3065);
  Key(table, 3066).x = 320;
  Key(table, 3066).width = 158;
  Remove(table, 3068);
  return table;
}

constexpr BoardLayoutTable Layout44() {
  BoardLayoutTable table = BaseLayout();
  Key(table, 3051).height = 90;
  Key(table, 3058).height = 90;
  Remove(table, 3061);
  Remove(table, 3063);
  Key(table, 3064).x = 160;
  Key(table, 3064).width = 158;
  Remove(table, 3065);
  Key(table, 3066).x = 320;
  Key(table, 3066).width = 158;
  Remove(table, 3068);
  return table;
}

// The 43-key board is staggered like a keyboard: wider keys open rows 3 to 5 and row 6 holds
// a space bar.
constexpr BoardLayoutTable Layout43() {
  BoardLayoutTable table = BaseLayout();
  Key(table, 3031).width = 118;
  for (int i = 0; i < 5; ++i) Key(table, 3032 + i).x = 120 + kColumnPitch * i;
  Key(table, 3037).x = 520;
  Key(table, 3037).width = 118;
  Remove(table, 3038);

  Key(table, 3041).width = 138;
  for (int i = 0; i < 6; ++i) Key(table, 3042 + i).x = 140 + kColumnPitch * i;
  Remove(table, 3048);

  Key(table, 3051).width = 178;
  for (int i = 0; i < 6; ++i) Key(table, 3052 + i).x = 180 + kColumnPitch * i;
  Remove(table, 3058);

  for (int i = 0; i < 4; ++i) {
    Key(table, 3061 + i).x = 100 * i;
    Key(table, 3061 + i).width = 98;
  }
  Key(table, 3065).x = 400;
  Key(table, 3065).width = 178;
  Key(table, 3066).x = 580;
  Remove(table, 3067);
  Remove(table, 3068);
  return table;
}

constexpr BoardLayoutTable kLayout48 = BaseLayout();
constexpr BoardLayoutTable kLayout46 = Layout46();
constexpr BoardLayoutTable kLayout44 = Layout44();
constexpr BoardLayoutTable kLayout43 = Layout43();

// Horizontal offset added once unscaled and once scaled; the vertical offset only scaled.
constexpr float kGridLeft = 80.0f;
constexpr float kGridTop = 20.0f;

// Truncates toward zero. A zoom no screen gives (infinite, or far too large) cannot make the
// conversion overflow; such a coordinate becomes 0.
int Truncate(float value) {
  constexpr float kLimit = static_cast<float>(std::numeric_limits<int>::max()) / 2;
  return value > -kLimit && value < kLimit ? static_cast<int>(value) : 0;
}

}  // namespace

const BoardLayoutTable& BoardLayout(std::uint8_t board_code) {
  switch (board_code) {
    case kBoard46Keys:
      return kLayout46;
    case kBoard44Keys:
      return kLayout44;
    case kBoard43Keys:
      return kLayout43;
    default:
      return kLayout48;
  }
}

int BoardTypeIndex(std::uint8_t board_code) { return BoardTypeList().IndexOf(board_code); }

float ZoomForDpi(int dpi) { return static_cast<float>(dpi / 96.0); }

std::string ZoomLogLine(int dpi, float zoom) {
  return FormatText(">> Screen DPI = %d, ZOOM= %f", dpi, static_cast<double>(zoom));
}

std::array<KeyPlacement, kGridKeyCount> PlaceKeys(std::uint8_t board_code, float zoom) {
  std::array<KeyPlacement, kGridKeyCount> placements{};
  const BoardLayoutTable& layout = BoardLayout(board_code);
  for (std::size_t i = 0; i < layout.size(); ++i) {
    const LayoutEntry& entry = layout[i];
    KeyPlacement& placement = placements[i];
    placement.control_id = entry.control_id;
    if (entry.width == 0) continue;
    // Each step is rounded to single precision, so the positions match pixel for pixel.
    const float x = static_cast<float>(entry.x) * zoom + kGridLeft * zoom + kGridLeft;
    const float y = static_cast<float>(entry.y) * zoom + kGridTop * zoom;
    placement.visible = true;
    placement.x = Truncate(x);
    placement.y = Truncate(y);
    placement.width = Truncate(static_cast<float>(entry.width) * zoom);
    placement.height = Truncate(static_cast<float>(entry.height) * zoom);
  }
  return placements;
}

}  // namespace qp40
