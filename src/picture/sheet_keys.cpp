#include "picture/sheet_keys.h"

#include <algorithm>

namespace qp40 {

std::uint8_t ProfileBoardCode(const Configuration& config, std::uint8_t profile) {
  const ProfileView view = ViewProfile(config, profile);
  return BoardSettingsReader(view.settings).BoardType();
}

int BoardKeyCount(std::uint8_t board_code) {
  const BoardLayoutTable& layout = BoardLayout(board_code);
  return static_cast<int>(std::count_if(layout.begin(), layout.end(),
                                        [](const LayoutEntry& entry) { return entry.width > 0; }));
}

std::vector<DrawnKey> DrawnKeys(const Configuration& config, std::uint8_t profile) {
  const ProfileView view = ViewProfile(config, profile);
  const BoardLayoutTable& layout = BoardLayout(BoardSettingsReader(view.settings).BoardType());
  std::vector<DrawnKey> keys;
  for (int row = 1; row <= kGridRowCount; ++row) {
    for (int column = 1; column <= kGridColumnCount; ++column) {
      const std::size_t position = GridPosition(row, column);
      if (layout[position].width == 0) continue;
      keys.push_back({row, column, layout[position], view.records[position]});
    }
  }
  return keys;
}

}  // namespace qp40
