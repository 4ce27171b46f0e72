#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "link/report.h"
#include "memory_map/memory_map.h"
#include "sim/virtual_keypad.h"

namespace qp40::sim {

// The record code of a plain keyboard key, which every key of the factory profiles holds.
inline constexpr std::uint8_t kActionKeyboardKey = 0x80;
inline constexpr std::size_t kFactoryKeyCount = kKeyCodeMapSize;

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
