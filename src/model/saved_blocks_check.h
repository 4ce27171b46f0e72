#pragma once

#include <cstdint>
#include <vector>

#include "link/keypad_link.h"
#include "model/config_blocks.h"
#include "model/configuration.h"

namespace qp40 {

// How one block a save wrote compares with what the keypad reads back.
enum class SavedBlockState {
  kMatches,
  kUnreadable,  // a page of it could not be read back
  kDiffers,     // it reads back other than it was written
};

struct SavedBlockCheck {
  std::uint8_t block = 0;
  SavedBlockState state = SavedBlockState::kMatches;
  std::size_t part = 0;  // which of the configuration's blocks, in ConfigBlocksOf order
};

// Reads back the blocks `which` selects of those a save of `config` writes (the profile block,
// the burst table and the string unit table: up to five blocks of 64 pages) and compares each
// with what was sent. One entry per block read, in the order the save writes them; a keypad that
// goes away ends the check, and the blocks not read count as unreadable.
[[nodiscard]] std::vector<SavedBlockCheck> CheckSavedBlocks(
    const Configuration& config, KeypadLink& link, const BlockSelection& which = kAllConfigBlocks);

// True when every block matches.
bool AllSavedBlocksMatch(const std::vector<SavedBlockCheck>& checks);

}  // namespace qp40
