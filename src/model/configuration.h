#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace qp40 {

// Blocks of the keypad's memory that the configuration occupies.
inline constexpr std::uint8_t kProfileBlock = 0x1C;
inline constexpr std::uint8_t kProfileBlockAlt27 = 0x1B;
inline constexpr std::uint8_t kProfileBlockAlt26 = 0x1A;
inline constexpr std::uint8_t kBurstBlockFirst = 0x1E;
inline constexpr std::uint8_t kBurstBlockSecond = 0x1F;
inline constexpr std::uint8_t kStringBlockFirst = 0x20;
inline constexpr std::uint8_t kStringBlockSecond = 0x21;
inline constexpr std::uint8_t kLongStringBlockFirst = 0x22;
inline constexpr std::uint8_t kMacroBlockFirst = 0x40;

// Layout of the profile block: four profiles of 128 slots of 4 bytes.
inline constexpr std::size_t kProfileImageSize = 2048;
inline constexpr std::size_t kProfileCount = 4;
inline constexpr std::size_t kProfileSize = 512;
inline constexpr std::size_t kSlotSize = 4;
inline constexpr std::size_t kSlotCount = 128;
inline constexpr std::size_t kSettingsOffset = 320;
inline constexpr std::size_t kSettingsSize = 12;
inline constexpr std::size_t kKeyCodeMapOffset = 448;

// The key grid: 6 rows of 8 keys.
inline constexpr std::size_t kGridRows = 6;
inline constexpr std::size_t kGridColumns = 8;
inline constexpr std::size_t kKeyCount = kGridRows * kGridColumns;

// The working copy of one profile in grid order.
inline constexpr std::size_t kWorkingProfileSize = 256;
inline constexpr std::size_t kWorkingSettingsOffset = 192;

// Board-setting bytes, relative to the start of the 12 settings bytes.
inline constexpr std::size_t kSettingBoardType = 0;
inline constexpr std::size_t kSettingPathType = 1;
inline constexpr std::size_t kSettingUsbType = 2;
inline constexpr std::size_t kSettingTyping = 3;
inline constexpr std::size_t kSettingBacklight = 4;
inline constexpr std::size_t kSettingSticky = 5;
inline constexpr std::size_t kSettingFirmware = 7;
inline constexpr std::uint8_t kFirmwareNewStrings = 0xFF;

// Burst table and string unit table: 256 entries of 16 bytes each.
inline constexpr std::size_t kTableSize = 4096;
inline constexpr std::size_t kTableEntrySize = 16;
inline constexpr std::size_t kTableEntries = kTableSize / kTableEntrySize;

using ProfileImage = std::array<std::uint8_t, kProfileImageSize>;
using WorkingProfile = std::array<std::uint8_t, kWorkingProfileSize>;
using KeyCodeMap = std::array<std::uint8_t, kKeyCount>;
using BurstTable = std::array<std::uint8_t, kTableSize>;
using StringUnitTable = std::array<std::uint8_t, kTableSize>;

// The key code map in force until a profile block or backup has been loaded.
inline constexpr KeyCodeMap kDefaultKeyCodeMap = {
    0x3C, 0x3D, 0x3E, 0x3F, 0x26, 0x27, 0x28, 0x29,  //
    0x1C, 0x1D, 0x1E, 0x1F, 0x38, 0x39, 0x3A, 0x3B,  //
    0x4A, 0x4B, 0x4C, 0x4D, 0x4E, 0x4F, 0x1A, 0x1B,  //
    0x49, 0x48, 0x47, 0x11, 0x10, 0x25, 0x24, 0x23,  //
    0x21, 0x46, 0x44, 0x42, 0x40, 0x18, 0x36, 0x35,  //
    0x22, 0x20, 0x45, 0x43, 0x41, 0x19, 0x37, 0x34,  //
};

// The tool's in-memory configuration: one object for the whole run.
struct Configuration {
  ProfileImage profile_image{};
  WorkingProfile working_profile{};
  KeyCodeMap key_code_map = kDefaultKeyCodeMap;
  BurstTable burst_table{};
  StringUnitTable string_unit_table{};
  std::uint8_t current_profile = 0;
  std::uint8_t profile_block_number = kProfileBlock;
  std::uint32_t loaded_backup_type = 0;
};

// Told when the records on screen may have changed; the window relabels its key grid.
class LabelRefresher {
 public:
  virtual ~LabelRefresher() = default;
  virtual void RefreshKeyLabels() = 0;
};

}  // namespace qp40
