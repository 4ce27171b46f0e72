#pragma once

#include <string>

#include "keys/key_action.h"
#include "model/configuration.h"

namespace qp40 {

// What a key button's tooltip tells: the whole label (the grid cuts it), which for a burst or
// string key is its whole text, and the record's bytes. UTF-8; reads only the tables in memory,
// never the keypad.
std::string KeyTooltipText(const Configuration& config, const KeyActionRecord& record);

}  // namespace qp40
