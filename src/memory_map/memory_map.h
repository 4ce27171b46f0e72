#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace qp40 {

// Where the keypad keeps its configuration, for the tool's model and the virtual keypad alike.

// Blocks of the keypad's memory.
inline constexpr std::uint8_t kProfileBlock = 0x1C;
// The profile blocks that a save after some backup files writes instead of kProfileBlock.
inline constexpr std::uint8_t kProfileBlockAlt27 = 0x1B;
inline constexpr std::uint8_t kProfileBlockAlt26 = 0x1A;
inline constexpr std::uint8_t kBurstBlockFirst = 0x1E;
inline constexpr std::uint8_t kBurstBlockSecond = 0x1F;
inline constexpr std::uint8_t kStringBlockFirst = 0x20;
inline constexpr std::uint8_t kStringBlockSecond = 0x21;
// Long strings of the older firmware: unit u lies in block 0x22 + u / 8.
inline constexpr std::uint8_t kLongStringBlockFirst = 0x22;
// Macro n lies in blocks 0x40 + 2n and 0x41 + 2n.
inline constexpr std::uint8_t kMacroBlockFirst = 0x40;

// The profile block: four profiles of 128 slots of one 4-byte key action record each.
inline constexpr std::size_t kProfileImageSize = 2048;
inline constexpr std::size_t kProfileCount = 4;
inline constexpr std::size_t kProfileSize = 512;
inline constexpr std::size_t kSlotSize = 4;
inline constexpr std::size_t kSlotCount = 128;
// Profile bytes of the 12 board settings and of the key code map.
inline constexpr std::size_t kSettingsOffset = 320;
inline constexpr std::size_t kSettingsSize = 12;
inline constexpr std::size_t kKeyCodeMapOffset = 448;
inline constexpr std::size_t kKeyCodeMapSize = 48;

// Board-setting bytes, relative to the start of the 12 settings bytes.
inline constexpr std::size_t kSettingBoardType = 0;
inline constexpr std::size_t kSettingPathType = 1;
inline constexpr std::size_t kSettingUsbType = 2;
inline constexpr std::size_t kSettingTyping = 3;
inline constexpr std::size_t kSettingBacklight = 4;
inline constexpr std::size_t kSettingSticky = 5;
inline constexpr std::size_t kSettingFirmware = 7;
// The firmware version that keeps strings as chains of units.
inline constexpr std::uint8_t kFirmwareNewStrings = 0xFF;
inline constexpr std::uint8_t kBoardType48Keys = 0x04;

// The keypad's own map from grid position (row by row, 8 columns) to key slot, as shipped and
// as the tool assumes until it has read one.
inline constexpr std::array<std::uint8_t, kKeyCodeMapSize> kFactoryKeyCodeMap = {
    0x3C, 0x3D, 0x3E, 0x3F, 0x26, 0x27, 0x28, 0x29,  //
    0x1C, 0x1D, 0x1E, 0x1F, 0x38, 0x39, 0x3A, 0x3B,  //
    0x4A, 0x4B, 0x4C, 0x4D, 0x4E, 0x4F, 0x1A, 0x1B,  //
    0x49, 0x48, 0x47, 0x11, 0x10, 0x25, 0x24, 0x23,  //
    0x21, 0x46, 0x44, 0x42, 0x40, 0x18, 0x36, 0x35,  //
    0x22, 0x20, 0x45, 0x43, 0x41, 0x19, 0x37, 0x34,  //
};

}  // namespace qp40
