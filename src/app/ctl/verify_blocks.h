#pragma once

#include <ostream>

#include "link/keypad_link.h"
#include "model/configuration.h"

namespace qp40::ctl {

// Reads back every block a save of `config` wrote (the profile block, the burst table and the
// string unit table) and compares it with what was sent. Each block that differs or cannot be
// read back is named on `err`; returns how many there were.
int VerifySavedBlocks(const Configuration& config, KeypadLink& link, std::ostream& err);

}  // namespace qp40::ctl
