#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace qp40 {

// A compiled macro: 256 records of 16 bytes, kept by the keypad in two blocks.
inline constexpr std::size_t kMacroRecordSize = 16;
inline constexpr std::size_t kMacroRecordCount = 256;
inline constexpr std::size_t kMacroBufferSize = kMacroRecordSize * kMacroRecordCount;
using MacroBuffer = std::array<std::uint8_t, kMacroBufferSize>;

// Bytes of one macro record.
inline constexpr std::size_t kRecordLine = 0;     // 1-based script line; 0 or 0xFF: free
inline constexpr std::size_t kRecordCommand = 1;  // code of the line's first word
inline constexpr std::size_t kRecordParameters = 2;
inline constexpr std::size_t kRecordParameterCount = 10;
inline constexpr std::size_t kRecordDelayLow = 12;  // little-endian, units of 5 ms
inline constexpr std::size_t kRecordDelayHigh = 13;
inline constexpr std::size_t kRecordNext = 14;   // index of the next record
inline constexpr std::size_t kRecordMacro = 15;  // macro number; 0 with next 0 ends the chain

inline constexpr std::uint8_t kFreeLineZero = 0x00;
inline constexpr std::uint8_t kFreeLineErased = 0xFF;

// Command codes with a meaning of their own in scripts and listings.
inline constexpr std::uint8_t kMacroPress = 0x80;
inline constexpr std::uint8_t kMacroRelease = 0x79;
inline constexpr std::uint8_t kMacroClick = 0x78;
inline constexpr std::uint8_t kMacroDelay = 0x74;
inline constexpr std::uint8_t kMacroJump = 0x73;
inline constexpr std::uint8_t kMacroPause = 0x77;
inline constexpr std::uint8_t kMacroString = 0xB4;
inline constexpr std::uint8_t kMacroBurst = 0xB3;
inline constexpr std::uint8_t kMacroMouse = 0xA3;

// Parameter codes that change how a listing spells the parameters after them.
inline constexpr std::uint8_t kMoveCode = 0xFE;
inline constexpr std::uint8_t kFirstMouseOrLayerCode = 0xE8;

// Delay limits in units of 5 ms: 20 ms to 240 s.
inline constexpr std::uint16_t kMinDelayUnits = 4;
inline constexpr std::uint16_t kMaxDelayUnits = 48000;
inline constexpr int kMsPerDelayUnit = 5;

// Macros 0..31; macro m lives in blocks 64 + 2m and 65 + 2m.
inline constexpr int kMacroCount = 32;

inline constexpr std::size_t RecordOffset(std::size_t index) { return index * kMacroRecordSize; }

inline bool IsFreeLineNumber(std::uint8_t line) {
  return line == kFreeLineZero || line == kFreeLineErased;
}

// A macro whose first record is free has never been stored (or was erased).
inline bool IsMacroReady(const MacroBuffer& buffer) {
  return !IsFreeLineNumber(buffer[RecordOffset(0) + kRecordLine]);
}

}  // namespace qp40
