#include "keys/board_layout.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>

#include "keys/key_colors.h"
#include "keys/key_label.h"

namespace qp40 {
namespace {

KeyPlacement PlacementOf(std::uint8_t board, int dpi, int control_id) {
  const int row = (control_id - 3000) / 10;
  const int column = control_id % 10;
  return PlaceKeys(board, ZoomForDpi(dpi))[static_cast<std::size_t>(8 * (row - 1) + column - 1)];
}

TEST(BoardLayoutTest, ZoomFollowsTheDpi) {
  EXPECT_EQ(ZoomForDpi(96), 1.0f);
  EXPECT_EQ(ZoomForDpi(120), 1.25f);
  EXPECT_EQ(ZoomForDpi(144), 1.5f);
  EXPECT_EQ(ZoomLogLine(96, ZoomForDpi(96)), ">> Screen DPI = 96, ZOOM= 1.000000");
  EXPECT_EQ(ZoomLogLine(144, ZoomForDpi(144)), ">> Screen DPI = 144, ZOOM= 1.500000");
}

TEST(BoardLayoutTest, HiddenKeysPerBoard) {
  const struct {
    std::uint8_t board;
    std::set<int> hidden;
    int type_index;
  } cases[] = {
      {kBoard48Keys, {}, 0},
      {kBoard46Keys, {3065, 3068}, 1},
      {kBoard44Keys, {3061, 3063, 3065, 3068}, 2},
      {kBoard43Keys, {3038, 3048, 3058, 3067, 3068}, 3},
      {0x00, {}, 0},
      {0x40, {}, 0},
      {0xFF, {}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "board " << int{c.board});
    EXPECT_EQ(BoardTypeIndex(c.board), c.type_index);
    const auto placements = PlaceKeys(c.board, 1.0f);
    for (int row = 1; row <= 6; ++row) {
      for (int column = 1; column <= 8; ++column) {
        const KeyPlacement& key = placements[static_cast<std::size_t>(8 * (row - 1) + column - 1)];
        const int id = KeyControlId(row, column);
        EXPECT_EQ(key.control_id, id);
        EXPECT_EQ(key.visible, c.hidden.count(id) == 0) << id;
        if (!key.visible) {
          EXPECT_EQ(key, (KeyPlacement{false, 0, 0, 0, 0, id}));
        }
      }
    }
  }
}

TEST(BoardLayoutTest, PositionsAtThreeDpis) {
  const struct {
    std::uint8_t board;
    int dpi;
    int control_id;
    int x, y, width, height;
  } cases[] = {
      // The base grid, first and last key.
      {kBoard48Keys, 96, 3011, 160, 20, 78, 40},
      {kBoard48Keys, 120, 3011, 180, 25, 97, 50},
      {kBoard48Keys, 144, 3011, 200, 30, 117, 60},
      {kBoard48Keys, 96, 3068, 720, 270, 78, 40},
      {kBoard48Keys, 120, 3068, 880, 337, 97, 50},
      {kBoard48Keys, 144, 3068, 1040, 405, 117, 60},
      {0x40, 120, 3068, 880, 337, 97, 50},
      // 46 keys: a tall key at the right end, a wide key at the bottom.
      {kBoard46Keys, 96, 3058, 720, 220, 78, 90},
      {kBoard46Keys, 144, 3058, 1040, 330, 117, 135},
      {kBoard46Keys, 96, 3066, 480, 270, 158, 40},
      {kBoard46Keys, 120, 3066, 580, 337, 197, 50},
      {kBoard46Keys, 144, 3066, 680, 405, 237, 60},
      // 44 keys.
      {kBoard44Keys, 96, 3051, 160, 220, 78, 90},
      {kBoard44Keys, 144, 3051, 200, 330, 117, 135},
      {kBoard44Keys, 120, 3058, 880, 275, 97, 112},
      {kBoard44Keys, 96, 3064, 320, 270, 158, 40},
      {kBoard44Keys, 120, 3064, 380, 337, 197, 50},
      {kBoard44Keys, 96, 3066, 480, 270, 158, 40},
      // 43 keys: staggered rows and a space bar.
      {kBoard43Keys, 96, 3031, 160, 120, 118, 40},
      {kBoard43Keys, 96, 3032, 280, 120, 78, 40},
      {kBoard43Keys, 120, 3037, 830, 150, 147, 50},
      {kBoard43Keys, 96, 3041, 160, 170, 138, 40},
      {kBoard43Keys, 96, 3047, 700, 170, 78, 40},
      {kBoard43Keys, 120, 3051, 180, 275, 222, 50},
      {kBoard43Keys, 96, 3057, 740, 220, 78, 40},
      {kBoard43Keys, 96, 3061, 160, 270, 98, 40},
      {kBoard43Keys, 96, 3064, 460, 270, 98, 40},
      {kBoard43Keys, 96, 3065, 560, 270, 178, 40},
      {kBoard43Keys, 144, 3065, 800, 405, 267, 60},
      {kBoard43Keys, 96, 3066, 740, 270, 78, 40},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PlacementOf(c.board, c.dpi, c.control_id),
              (KeyPlacement{true, c.x, c.y, c.width, c.height, c.control_id}))
        << "board " << int{c.board} << " at " << c.dpi << " DPI, key " << c.control_id;
  }
}

// At these zoom factors doing any step in double precision, or computing the zoom factor in
// double precision, truncates to a different pixel.
TEST(BoardLayoutTest, ArithmeticIsSinglePrecision) {
  EXPECT_EQ(PlacementOf(kBoard48Keys, 124, 3031), (KeyPlacement{true, 183, 154, 100, 51, 3031}));
  EXPECT_EQ(PlacementOf(kBoard43Keys, 100, 3037), (KeyPlacement{true, 704, 125, 122, 41, 3037}));
  EXPECT_EQ(PlacementOf(kBoard43Keys, 112, 3065), (KeyPlacement{true, 640, 315, 207, 46, 3065}));
  EXPECT_EQ(PlacementOf(kBoard48Keys, 112, 3031), (KeyPlacement{true, 173, 140, 91, 46, 3031}));
}

TEST(BoardLayoutTest, NoTwoKeysOverlap) {
  for (const std::uint8_t board : {kBoard48Keys, kBoard46Keys, kBoard44Keys, kBoard43Keys}) {
    const BoardLayoutTable& layout = BoardLayout(board);
    for (std::size_t i = 0; i < layout.size(); ++i) {
      for (std::size_t j = i + 1; j < layout.size(); ++j) {
        const LayoutEntry& a = layout[i];
        const LayoutEntry& b = layout[j];
        if (a.width == 0 || b.width == 0) continue;
        const bool apart = a.x + a.width <= b.x || b.x + b.width <= a.x || a.y + a.height <= b.y ||
                           b.y + b.height <= a.y;
        EXPECT_TRUE(apart) << "board " << int{board} << ": " << a.control_id << " and "
                           << b.control_id;
      }
    }
  }
}

TEST(KeyColorsTest, TableValuesAndTheColourOfAType) {
  EXPECT_EQ(kKeyColors[kClickedKeyColorIndex], 0xA0A0A0u);
  EXPECT_EQ(kKeyColors[kPlainKeyColorIndex], 0x000000u);
  EXPECT_EQ(KeyColor(kKeyTextColorIndex), 0xFFFFFFu);
  EXPECT_EQ(KeyColor(3), 0x323264u);   // 100, 50, 50: red in the low byte
  EXPECT_EQ(KeyColor(5), 0xFF007Du);   // 125, 0, 255
  EXPECT_EQ(KeyColor(12), 0x14640Au);  // 10, 100, 20
  EXPECT_EQ(KeyColor(14), 0x64C850u);  // 80, 200, 100
  EXPECT_EQ(KeyColor(15), 0u);
  EXPECT_EQ(KeyColor(-1), 0u);
  // A disabled key is grey like a key just clicked; keyboard and unknown records are black.
  EXPECT_EQ(KeyColor(KeyBackgroundColorIndex(KeyLabelClass(0x8F))), kKeyColors[0]);
  for (const std::uint8_t code : {0x80, 0x00, 0x89}) {
    EXPECT_EQ(KeyColor(KeyBackgroundColorIndex(KeyLabelClass(code))), 0u);
  }
}

}  // namespace
}  // namespace qp40
