#pragma once

#include <string>
#include <string_view>

namespace qp40 {

// Turns every line end into CR LF, so a script typed in a text pane or written on Linux reads
// the same as one from the keypad's own editor. CR LF, a lone LF and LF CR are one line end
// each and become CR LF; a lone CR stays as it is (the script reader ends a line at it too).
// Pairs are read from the left, so CR LF CR is CR LF and a lone CR. Normalising twice changes
// nothing.
std::string NormaliseLineEnds(std::string_view text);

}  // namespace qp40
