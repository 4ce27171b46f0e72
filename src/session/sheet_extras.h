#pragma once

#include <vector>

#include "picture/cheat_sheet.h"
#include "session/keypad_session.h"

namespace qp40 {

// What a cheat sheet shows beside the configuration, read from the attached keypad.
struct SheetExtrasRead {
  // The macro scripts and string texts; no chords (the keypad keeps none).
  CheatSheetExtras extras;
  // Macros whose pages could not be read; the sheet shows them as not read.
  std::vector<int> unread_macros;
};

// Reads the scripts of the macros that the drawn keys of the session's configuration run, and the
// texts of the strings they type (the older string format keeps long strings on the keypad).
// Stops when the keypad goes away; reads nothing without a keypad.
SheetExtrasRead ReadSheetExtras(KeypadSession& session, const CheatSheetOptions& options);

}  // namespace qp40
