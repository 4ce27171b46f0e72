#include "keys/decimal_text.h"

#include <gtest/gtest.h>

#include <string_view>

namespace qp40 {
namespace {

TEST(DecimalTextTest, BlanksSignAndDigitsMakeTheValue) {
  const struct {
    std::string_view text;
    std::int64_t value;
    std::uint8_t low_byte;
  } cases[] = {
      {"12", 12, 12},
      {"04", 4, 4},
      {"300", 300, 0x2C},
      {"-20", -20, 0xEC},
      {"+100", 100, 100},
      {"-256", -256, 0x00},
      // Every blank a user may leave in front of a number is skipped.
      {"  7", 7, 7},
      {"\t+65", 65, 65},
      {"\n\v\f\r 9", 9, 9},
      // The number ends at the first byte that is no digit; without digits it is 0.
      {"5x", 5, 5},
      {"12abc", 12, 12},
      {"x5", 0, 0},
      {"x", 0, 0},
      {"--5", 0, 0},
      {"- 5", 0, 0},
      {"", 0, 0},
      {"  ", 0, 0},
      // Long numbers: the low byte stays exact, the value stops growing.
      {"99999999999999999999", 922337203685477571, 0xFF},
      {"12345678901234567890123", 922337203685477571, 0xCB},
      {"-99999999999999999999", -922337203685477571, 0x01},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DecimalValue(c.text), c.value) << '"' << c.text << '"';
    EXPECT_EQ(DecimalLowByte(c.text), c.low_byte) << '"' << c.text << '"';
  }
}

}  // namespace
}  // namespace qp40
