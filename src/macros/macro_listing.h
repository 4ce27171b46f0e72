#pragma once

#include <optional>
#include <string>

#include "macros/macro_record.h"

namespace qp40 {

// The script text of a compiled macro, one line per record with CR LF, following the records'
// links from record 0. A chain that loops or runs on is cut after its last new record, so data
// read from a keypad always lists in bounded time. Empty when the macro is not ready (record 0
// is free).
std::optional<std::string> ListMacro(const MacroBuffer& buffer);

}  // namespace qp40
