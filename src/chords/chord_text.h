#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "chords/chord_table.h"

namespace qp40 {

// Name shown for a key code in the chord editor: the key word of the code, nothing for 0 or for
// a code without a word.
std::string_view ChordKeyName(std::uint8_t code);

// The list pane: one line per record, "No.%2d :  " followed by the keys, modifiers and outputs
// that have names, each line ended by CR LF. The text is UTF-8; the arrow between the two
// trigger keys is its only character beyond ASCII.
std::string ChordListText(const ChordTable& table);

// The modifier check boxes of the editor, in their order on screen.
inline constexpr std::size_t kChordModifierBoxes = 4;  // Ctrl, Shift, Alt, Win

// What one selected record puts into the editor's fields.
struct ChordFieldTexts {
  std::string first_key;
  std::string second_key;
  std::array<std::string, kChordOutputCount> outputs;
  std::string sixth_output;
  // The check boxes from the left-hand modifier bits; empty when the record carries a sixth
  // output key instead of modifiers, and the boxes then keep what they showed.
  std::optional<std::array<bool, kChordModifierBoxes>> modifier_boxes;
};

ChordFieldTexts ChordFields(const ChordRecord& record);

}  // namespace qp40
