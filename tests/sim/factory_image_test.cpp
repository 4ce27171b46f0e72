#include "sim/factory_image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "sim/virtual_keypad.h"

namespace qp40::sim {
namespace {

bool AllBytes(std::span<const std::uint8_t> bytes, std::uint8_t value) {
  return std::all_of(bytes.begin(), bytes.end(), [=](std::uint8_t b) { return b == value; });
}

TEST(FactoryImageTest, ProfilesHoldAKeyboardOnTheDefaultMap) {
  for (const std::uint8_t firmware : {std::uint8_t{0xFF}, std::uint8_t{0x21}}) {
    SCOPED_TRACE(firmware);
    const VirtualKeypad keypad(firmware);
    const auto block = keypad.BlockData(kProfileBlock);
    for (std::size_t p = 0; p < kProfileCount; ++p) {
      const auto profile = block.subspan(p * kProfileSize, kProfileSize);
      std::set<std::uint8_t> usages;
      for (std::size_t k = 0; k < kFactoryKeyCount; ++k) {
        const std::uint8_t code = profile[kKeyCodeMapOffset + k];
        ASSERT_EQ(code, kFactoryKeyCodeMap[k]);
        ASSERT_GE(code, 0x10);
        ASSERT_LE(code, 0x4F);
        const auto record = profile.subspan(std::size_t{code} * 4, 4);
        EXPECT_EQ(record[0], kActionKeyboardKey);
        // Ordinary keys only: no modifiers (they take another action code) and no key twice.
        EXPECT_GE(record[1], 0x04);
        EXPECT_LT(record[1], 0xE0);
        EXPECT_EQ(record[2], 0);
        EXPECT_EQ(record[3], 0);
        usages.insert(record[1]);
      }
      EXPECT_EQ(usages.size(), kFactoryKeyCount);
      EXPECT_EQ(profile[kSettingsOffset], kBoardType48Keys);
      EXPECT_EQ(profile[kSettingsOffset + kSettingFirmware], firmware);
    }
    // Grid position 0 (top left) lives in slot 0x3C, profile bytes 240..243: Esc.
    EXPECT_EQ(block[240], kActionKeyboardKey);
    EXPECT_EQ(block[241], 0x29);
  }
}

TEST(FactoryImageTest, TablesAndMacrosStartEmpty) {
  const VirtualKeypad keypad;
  for (const std::uint8_t block : {kBurstBlockFirst, kBurstBlockSecond}) {
    const auto data = keypad.BlockData(block);
    for (std::size_t entry = 0; entry < kBlockSize; entry += 16) {
      ASSERT_EQ(data[entry], 0xFF) << "burst entry at " << entry << " is not free";
    }
  }
  for (const std::uint8_t block : {kStringBlockFirst, kStringBlockSecond}) {
    const auto data = keypad.BlockData(block);
    for (std::size_t unit = 0; unit < kBlockSize; unit += 16) {
      ASSERT_NE(data[unit], 0xAA) << "string unit at " << unit << " is in use";
      ASSERT_EQ(data[unit + 1], 0) << "string unit at " << unit << " has a length";
    }
  }
  for (std::size_t macro = 0; macro < 32; ++macro) {
    const auto first = keypad.BlockData(static_cast<std::uint8_t>(kMacroBlockFirst + 2 * macro));
    // Line number 0xFF in record 0: the macro is not ready.
    EXPECT_EQ(first[0], 0xFF);
  }
  EXPECT_TRUE(AllBytes(keypad.BlockData(0x7F), 0xFF));
  EXPECT_EQ(keypad.Identity()[kDeviceIdErrorByte], 0);
}

}  // namespace
}  // namespace qp40::sim
