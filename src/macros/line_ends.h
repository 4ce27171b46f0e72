#pragma once

#include <string>
#include <string_view>

namespace qp40 {

// Turns every line feed that has no carriage return before it into CR LF, so a script typed in
// a text pane or written on Linux reads the same as one from the keypad's own editor. CR LF
// pairs and lone carriage returns stay as they are.
std::string NormaliseLineEnds(std::string_view text);

}  // namespace qp40
