#pragma once

#include <string_view>

namespace qp40 {

// The help text of the key dialog for a type index 0..11; for any other index (no type chosen)
// the hint to choose one. "\n" breaks a line; "&&" shows one ampersand.
std::string_view KeyTypeHelpText(int type_index);

}  // namespace qp40
