#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "sim/virtual_keypad.h"

namespace qp40::ctl {

// Reads one fault of --sim-fault: KIND@N, with KIND one of drop, status, echo, late, gone and N
// the 1-based number of the request it hits. Nothing for anything else.
std::optional<sim::Fault> ParseSimFault(std::string_view text);

// The text of a usage error for `text`, or empty when it is a valid fault.
std::string CheckSimFault(const std::string& text);

}  // namespace qp40::ctl
