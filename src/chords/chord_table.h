#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace qp40 {

// The two-key chord table: 32 records of 8 bytes, shown to the user as numbers 1 to 32.
inline constexpr std::size_t kChordCount = 32;
inline constexpr std::size_t kChordRecordSize = 8;

// Bytes of one chord record.
inline constexpr std::size_t kChordFirstKey = 0;
inline constexpr std::size_t kChordSecondKey = 1;
inline constexpr std::size_t kChordModifiers = 2;
inline constexpr std::size_t kChordFirstOutput = 3;
inline constexpr std::size_t kChordOutputCount = 5;

// With this bit set the modifier byte carries a sixth output key code in its low seven bits
// instead of modifiers.
inline constexpr std::uint8_t kChordSixthKeyFlag = 0x80;
inline constexpr std::uint8_t kChordSixthKeyMask = 0x7F;

using ChordRecord = std::array<std::uint8_t, kChordRecordSize>;
using ChordTable = std::array<ChordRecord, kChordCount>;

// Clears record `index` (0..31). False, and nothing changes, when no record is selected (a
// negative index) or the index lies beyond the table.
bool CutChord(ChordTable& table, int index);

}  // namespace qp40
