#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "model/configuration.h"

namespace qp40::ctl {

// The VALUE of `key set`: a record as 8 hex digits ("80040000"), or a key word of the key word
// table for a keyboard key, stored as the key dialog stores it (a modifier key as a modifier-key
// record, a layer, profile or reboot key as a tools key). Nothing for anything else.
std::optional<KeyActionRecord> ParseKeyValue(std::string_view value);

// The text of a usage error for `value`, or empty when it is valid.
std::string CheckKeyValue(const std::string& value);

}  // namespace qp40::ctl
