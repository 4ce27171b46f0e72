#pragma once

#include <cstdint>

#include "link/keypad_link.h"
#include "log/log.h"
#include "model/configuration.h"

namespace qp40 {

// What a load or save from the keypad went through: pages that failed are logged already;
// the window uses the count to warn before writing back data that was never read.
struct TransferReport {
  int failed_pages = 0;
  // The keypad went away during the transfer; the rest of it was not tried.
  bool device_gone = false;
};

// Reads the profile block, burst table, string unit table and identity; shows User Profile 1.
TransferReport LoadConfiguration(Configuration& config, KeypadLink& link, Log& log,
                                 LabelRefresher& refresher);

// Switches the working copy to profile `profile` (0..3), keeping the edits of the one it leaves;
// selecting the current profile reverts it to the profile image.
void SelectProfile(Configuration& config, std::uint8_t profile, LabelRefresher& refresher);

// Writes the profile block, burst table and string unit table back to the keypad. A keypad that
// goes away ends the save at that point.
TransferReport SaveConfiguration(Configuration& config, KeypadLink& link, Log& log);

}  // namespace qp40
