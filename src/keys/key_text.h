#pragma once

#include <optional>
#include <string_view>

#include "keys/key_action.h"

namespace qp40 {

// The record a key is given by a short text: a record as 8 hex digits ("80040000", either case),
// or a key word of the key word table for a keyboard key, stored as the key dialog stores it (a
// modifier key as a modifier-key record, a layer, profile or reboot key as a tools key). Nothing
// for anything else, also for an empty text.
std::optional<KeyActionRecord> ParseKeyText(std::string_view text);

}  // namespace qp40
