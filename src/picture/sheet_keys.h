#pragma once

#include <cstdint>
#include <vector>

#include "keys/board_layout.h"
#include "keys/key_action.h"
#include "model/configuration.h"

namespace qp40 {

// One key the sheet draws: where the board layout puts it (layout units) and what it does.
struct DrawnKey {
  int row = 0;     // 1..6
  int column = 0;  // 1..8
  LayoutEntry place;
  KeyActionRecord record{};
};

// The board code of a profile's settings.
std::uint8_t ProfileBoardCode(const Configuration& config, std::uint8_t profile);

// How many keys a board code's layout has: 48, 46, 44 or 43.
int BoardKeyCount(std::uint8_t board_code);

// The keys of `profile` that its board has, in grid order, read as choosing the profile would
// show them.
std::vector<DrawnKey> DrawnKeys(const Configuration& config, std::uint8_t profile);

}  // namespace qp40
