#include "keys/key_label.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace qp40 {
namespace {

// Burst and string tables on the heap, each exactly one table long, so that any read past the
// end is caught by the address sanitizer.
class KeyLabelTest : public ::testing::Test {
 protected:
  void SetBurst(std::size_t index, const std::string& text) {
    std::memcpy(burst_.data() + index * kTextEntrySize, text.data(), text.size());
  }
  void SetStringUnit(std::size_t index, const std::string& text) {
    std::uint8_t* unit = strings_.data() + index * kTextEntrySize;
    unit[0] = 0xAA;
    unit[1] = static_cast<std::uint8_t>(text.size());
    std::memcpy(unit + kStringUnitTextOffset, text.data(), text.size());
  }
  std::string Label(const KeyActionRecord& record) {
    return KeyLabel(record, TextTableView(burst_.data(), kTextTableSize),
                    TextTableView(strings_.data(), kTextTableSize));
  }

  std::vector<std::uint8_t> burst_ = std::vector<std::uint8_t>(kTextTableSize);
  std::vector<std::uint8_t> strings_ = std::vector<std::uint8_t>(kTextTableSize);
};

TEST(KeyLabelClassTest, ClassAndColourOfEveryActionCode) {
  const std::map<unsigned, int> classes = {
      {0xA2, 1}, {0xA3, 2}, {0x84, 3}, {0xB1, 3}, {0xB3, 4},  {0xB4, 5},  {0x87, 6},
      {0xB5, 6}, {0xBA, 7}, {0x8F, 8}, {0xBC, 9}, {0xBD, 10}, {0xBE, 11}, {0xBF, 12},
  };
  for (unsigned code = 0; code <= 0xFF; ++code) {
    const auto it = classes.find(code);
    const int expected = it == classes.end() ? 0 : it->second;
    const int label_class = KeyLabelClass(static_cast<std::uint8_t>(code));
    EXPECT_EQ(label_class, expected) << "code " << code;
    EXPECT_EQ(KeyBackgroundColorIndex(label_class), expected == 0 ? 1 : expected + 2);
  }
}

TEST_F(KeyLabelTest, LabelPerClass) {
  SetBurst(5, "DIMLINEAR");
  SetBurst(6, "abcdefghijklmno");  // 15 characters
  SetStringUnit(9, "Hi there");
  SetStringUnit(10, "Hello, world");
  const struct {
    KeyActionRecord record;
    std::string label;
    int color_index;
  } cases[] = {
      {{0x80, 0x04, 0x00, 0x00}, "a", 1},
      {{0x80, 0x2C, 0x00, 0x00}, "Space", 1},
      {{0x80, 0x90, 0x00, 0x00}, "HID", 1},
      {{0x80, 0x00, 0x00, 0x00}, "", 1},
      {{0x81, 0x02, 0xE1, 0x00}, "Shift", 1},
      {{0x90, 0x01, 0x00, 0x00}, "01", 1},  // opened as a mouse key, labelled as a key
      {{0xFF, 0xFF, 0xFF, 0xFF}, "Null", 1},
      {{0xA2, 0x0E, 0x00, 0x00}, "Calculato", 3},
      {{0xA2, 0x00, 0x00, 0x00}, ">>|", 3},
      {{0xA3, 0x00, 0x05, 0x05}, "M_Move", 4},
      {{0xA3, 0x01, 0x00, 0x00}, "M_Left", 4},
      {{0xA3, 0x80, 0x00, 0x00}, "M_Button8", 4},
      {{0xA3, 0xFF, 0x00, 0xFD}, "M_Wheel", 4},
      {{0xA3, 0x03, 0x00, 0x00}, "Mouse", 4},
      {{0x84, 0x01, 0x06, 0x19}, "Ctrl+cv", 5},
      {{0x84, 0x03, 0x06, 0x00}, "Ctrl+Shif", 5},
      {{0x84, 0x10, 0x06, 0x00}, "Ctrl+c", 5},  // right-hand Ctrl
      {{0x84, 0x20, 0x06, 0x00}, "Shift+c", 5},
      {{0x84, 0x40, 0x06, 0x00}, "Alt+c", 5},
      {{0x84, 0x80, 0x06, 0x00}, "Win+c", 5},
      {{0xB1, 0x00, 0x90, 0x00}, "HID", 5},
      {{0xB3, 0x00, 0x00, 0x05}, "DIMLINEAR", 6},
      {{0xB3, 0x00, 0x00, 0x06}, "abcdefghi", 6},
      {{0xB3, 0x00, 0x00, 0x07}, "", 6},
      {{0xB4, 0x00, 33, 0x09}, "Hi there", 7},
      {{0xB4, 0x00, 20, 0x0A}, "Hello, wo", 7},
      {{0xB5, 0x03, 0x00, 0x02}, "Macro 3", 8},
      {{0x87, 0x1F, 0x00, 0x00}, "Macro 31", 8},
      {{0xBA, 0xEC, 0x00, 0x00}, "Profile", 9},
      {{0xBA, 0x05, 0x00, 0x00}, "b", 9},  // tool codes show the key word of the same code
      {{0xBA, 0x90, 0x00, 0x00}, "HID", 9},
      {{0x8F, 0x00, 0x00, 0x00}, "Null", 10},
      {{0xBC, 0x04, 0x05, 0x06}, "a", 11},
      {{0xBD, 0x05, 0x00, 0x00}, "b", 12},
      {{0xBE, 0x04, 0x05, 0x00}, "a|b", 13},
      {{0xBE, 0x04, 0x00, 0x05}, "a|b", 13},
      {{0xBE, 0x04, 0x05, 0x06}, "a|b|c", 13},
      {{0xBE, 0x90, 0x90, 0x90}, "HID|HID|H", 13},
      {{0xBF, 0x90, 0x00, 0x00}, "HID", 14},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << "record " << std::hex << int{c.record[0]} << ' ' << int{c.record[1]} << ' '
                 << int{c.record[2]} << ' ' << int{c.record[3]});
    EXPECT_EQ(Label(c.record), c.label);
    EXPECT_EQ(KeyBackgroundColorIndex(KeyLabelClass(c.record[0])), c.color_index);
  }
}

TEST_F(KeyLabelTest, MediaCodeWithoutANameShowsItsNumber) {
  EXPECT_EQ(Label({0xA2, 26, 0, 0}), "WakeUp");
  EXPECT_EQ(Label({0xA2, 27, 0, 0}), "Media 27");
  EXPECT_EQ(Label({0xA2, 255, 0, 0}), "Media 255");
}

TEST_F(KeyLabelTest, EntriesWithoutZeroByteAtTheEndOfTheTables) {
  std::fill(burst_.end() - kTextEntrySize, burst_.end(), 'B');
  std::fill(strings_.end() - kTextEntrySize, strings_.end(), 'S');
  EXPECT_EQ(Label({0xB3, 0x00, 0x00, 0xFF}), "BBBBBBBBB");
  EXPECT_EQ(Label({0xB4, 0x00, 0x08, 0xFF}), "SSSSSSSSS");
}

TEST_F(KeyLabelTest, FreedStringUnitIsStillShown) {
  SetStringUnit(2, "XYZ");
  strings_[2 * kTextEntrySize] = 0x00;
  EXPECT_EQ(Label({0xB4, 0x00, 0x08, 0x02}), "XYZ");
}

}  // namespace
}  // namespace qp40
