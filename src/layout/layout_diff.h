#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "layout/layout_file.h"

namespace qp40 {

// What differs between two layouts, one line per changed setting, key, macro line or chord, in
// the order of the layout file:
//   profile 1, settings, board: "48 keys" -> "46 keys"
//   profile 1, row 2, column 1: Tab -> Ctrl+Shift+q
//   macro 5, line 2: release    20 -> (none)
//   chord 1: 1607002800000000 -> (empty)
// Chords are compared only when both layouts have a table. Empty when they are the same.
// "profile 1, row 2, column 1": where key `key` (0..47) of profile `profile` (0..3) stands.
std::string LayoutKeyPlace(std::size_t profile, std::size_t key);

std::vector<std::string> DiffLayouts(const Layout& from, const Layout& to);

}  // namespace qp40
