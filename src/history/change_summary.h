#pragma once

#include <string>
#include <vector>

namespace qp40 {

// A one-line summary of a layout diff's lines: "3 keys, 1 setting, macro 5 changed",
// "macros 5, 7 changed", "no change".
std::string ChangeSummary(const std::vector<std::string>& diff_lines);

}  // namespace qp40
