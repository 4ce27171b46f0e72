#pragma once

#include <optional>
#include <string>

#include "keys/key_action.h"

namespace qp40 {

// A copied key: its record and, for a string or burst key, the text it types (keypad bytes) as
// it was when it was copied; no text when it could not be read, and its paste is refused.
struct CopiedKey {
  KeyActionRecord record{};
  std::optional<std::string> text;
};

}  // namespace qp40
