#pragma once

#include <cstdint>

#include "link/keypad_link.h"
#include "log/log.h"
#include "model/config_blocks.h"
#include "model/configuration.h"

namespace qp40 {

// What a load or save from the keypad went through: pages that failed are logged already;
// the window uses the count to warn before writing back data that was never read.
struct TransferReport {
  int failed_pages = 0;
  // The keypad went away during the transfer; the rest of it was not tried.
  bool device_gone = false;
  // The blocks (in ConfigBlocksOf order) where a page or a prepare failed or that the keypad's
  // going away cut short: what the keypad holds there is not known for sure.
  BlockSelection troubled = kNoConfigBlocks;
  // A save: the blocks that were prepared (erased), whether or not their pages went through.
  BlockSelection prepared = kNoConfigBlocks;
  // A load: the keypad's identity could not be read.
  bool identity_failed = false;
};

// Reads the profile block, burst table, string unit table and identity; shows User Profile 1.
[[nodiscard]] TransferReport LoadConfiguration(Configuration& config, KeypadLink& link, Log& log,
                                               LabelRefresher& refresher);

// Switches the working copy to profile `profile` (0..3), keeping the edits of the one it leaves;
// selecting the current profile reverts it to the profile image.
void SelectProfile(Configuration& config, std::uint8_t profile, LabelRefresher& refresher);

// Merges the working copy into the profile image and writes the blocks `which` selects of the
// profile block, burst table and string unit table back to the keypad, each followed by its log
// line; one more line names the blocks left as the keypad holds them. A keypad that goes away
// ends the save at that point.
[[nodiscard]] TransferReport SaveConfiguration(Configuration& config, KeypadLink& link, Log& log,
                                               const BlockSelection& which = kAllConfigBlocks);

}  // namespace qp40
