#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "keys/board_layout.h"
#include "session/keypad_session.h"

namespace qp40 {

// For each grid position of the shown profile: the key expression the keypad holds there when
// the key's record or text differs from it, nothing where they agree. Nothing at all before the
// keypad was first read. Reads only what is in memory, never the keypad.
using UnsavedKeys = std::array<std::optional<std::string>, kGridKeyCount>;
UnsavedKeys UnsavedKeysOf(const KeypadSession& session);

// What a save would change on the keypad, in the words of the layout diff (settings and keys of
// every profile; the keypad's macros are not read here), then one line for each macro the next
// save writes ("macro 5: written by the next save"). Empty when the keypad holds everything.
std::vector<std::string> UnsavedChangeLines(const KeypadSession& session);

}  // namespace qp40
