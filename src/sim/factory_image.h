#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "link/report.h"
#include "sim/virtual_keypad.h"

namespace qp40::sim {

// Where the keypad keeps its configuration, as shipped.
inline constexpr std::uint8_t kFactoryProfileBlock = 0x1C;
inline constexpr std::uint8_t kFactoryBurstBlocks[] = {0x1E, 0x1F};
inline constexpr std::uint8_t kFactoryStringBlocks[] = {0x20, 0x21};
inline constexpr std::uint8_t kFactoryMacroBlockFirst = 0x40;

// Layout of one profile in the profile block.
inline constexpr std::size_t kFactoryProfileCount = 4;
inline constexpr std::size_t kFactoryProfileSize = 512;
inline constexpr std::size_t kFactorySettingsOffset = 320;
inline constexpr std::size_t kFactoryKeyCodeMapOffset = 448;
inline constexpr std::size_t kFactoryKeyCount = 48;
inline constexpr std::size_t kFactoryFirmwareSetting = 7;
inline constexpr std::uint8_t kFactoryBoardType48Keys = 0x04;
inline constexpr std::uint8_t kActionKeyboardKey = 0x80;

// The keypad's own map from grid position (row by row, 8 columns) to key slot.
inline constexpr std::array<std::uint8_t, kFactoryKeyCount> kFactoryKeyCodeMap = {
    0x3C, 0x3D, 0x3E, 0x3F, 0x26, 0x27, 0x28, 0x29,  //
    0x1C, 0x1D, 0x1E, 0x1F, 0x38, 0x39, 0x3A, 0x3B,  //
    0x4A, 0x4B, 0x4C, 0x4D, 0x4E, 0x4F, 0x1A, 0x1B,  //
    0x49, 0x48, 0x47, 0x11, 0x10, 0x25, 0x24, 0x23,  //
    0x21, 0x46, 0x44, 0x42, 0x40, 0x18, 0x36, 0x35,  //
    0x22, 0x20, 0x45, 0x43, 0x41, 0x19, 0x37, 0x34,  //
};

// The HID keyboard usage each grid position sends as shipped: a small keyboard with Esc, the
// digits, the letters, punctuation and the cursor keys.
inline constexpr std::array<std::uint8_t, kFactoryKeyCount> kFactoryKeyUsages = {
    0x29, 0x1E, 0x1F, 0x20, 0x21, 0x22, 0x23, 0x2A,  // Esc 1 2 3 4 5 6 Backspace
    0x2B, 0x14, 0x1A, 0x08, 0x15, 0x17, 0x1C, 0x28,  // Tab q w e r t y Enter
    0x04, 0x16, 0x07, 0x09, 0x0A, 0x0B, 0x0D, 0x0E,  // a s d f g h j k
    0x1D, 0x1B, 0x06, 0x19, 0x05, 0x11, 0x10, 0x0F,  // z x c v b n m l
    0x24, 0x25, 0x26, 0x27, 0x2D, 0x2E, 0x52, 0x4C,  // 7 8 9 0 - = Up Delete
    0x2C, 0x36, 0x37, 0x38, 0x50, 0x51, 0x4F, 0x4A,  // Space , . / Left Down Right Home
};

// The identity the keypad reports; byte 13 is 0, which means no error.
inline constexpr DeviceId kFactoryIdentity = {0x04, 0xB4, 0x08, 0x20, 'Q',  'P',  '4',  '0',
                                              0x01, 0x00, 0x00, 0x30, 0x00, 0x00, 0x00, 0x00};

// Writes the memory of a keypad as shipped: erased flash (0xFF) everywhere except the profile
// block, with four identical profiles, and a cleared string unit table. The burst table (0xFF:
// every entry free) and the macro blocks (0xFF: every macro empty) stay erased.
void WriteFactoryImage(std::span<std::uint8_t, kImageSize> memory, std::uint8_t firmware_version);

}  // namespace qp40::sim
