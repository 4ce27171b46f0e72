#pragma once

#include <map>
#include <optional>

#include "chords/chord_table.h"
#include "layout/layout_file.h"
#include "macros/macro_record.h"
#include "session/keypad_session.h"

namespace qp40 {

// The layout of the session's configuration as a save would write it (the working copy merged
// in), with `macros` and `chords`, and the keypad's identity while it is connected. A string of
// the older format that lives in the keypad's slot blocks is read from the keypad.
Layout SessionLayout(KeypadSession& session, const std::map<int, MacroBuffer>& macros,
                     const std::optional<ChordTable>& chords);

// The chord table when any chord is set; nothing for an empty table.
std::optional<ChordTable> ChordsIfAny(const ChordTable& table);

}  // namespace qp40
