#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "keys/key_action.h"

namespace qp40 {

// Longest label a key button shows.
inline constexpr std::size_t kKeyLabelLength = 9;

// The burst table and the string unit table: 256 entries of 16 bytes. A burst entry holds its
// text from byte 0, a string unit from byte 2; both end at a zero byte.
inline constexpr std::size_t kTextTableSize = 4096;
inline constexpr std::size_t kTextEntrySize = 16;
inline constexpr std::size_t kTextEntryCount = kTextTableSize / kTextEntrySize;
inline constexpr std::size_t kStringUnitTextOffset = 2;
using TextTableView = std::span<const std::uint8_t, kTextTableSize>;

// Colour indices into the key grid's colour table.
inline constexpr int kKeyTextColorIndex = 2;

// Label class 0..12 of an action code: the type index for the codes the tool writes (and 0x87,
// 0xB1); 0 for everything else, including the other codes the decoder accepts.
int KeyLabelClass(std::uint8_t action_code);

// Background colour index of a label class: 1 for class 0, class + 2 for the others.
int KeyBackgroundColorIndex(int label_class);

// The text a key button shows for `record`, at most kKeyLabelLength characters. Burst and string
// texts are read from the tables without ever running past an entry or the table.
std::string KeyLabel(const KeyActionRecord& record, TextTableView burst_table,
                     TextTableView string_unit_table);
// The same label before it is cut to kKeyLabelLength characters.
std::string FullKeyLabel(const KeyActionRecord& record, TextTableView burst_table,
                         TextTableView string_unit_table);

}  // namespace qp40
