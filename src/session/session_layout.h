#pragma once

#include <map>

#include "layout/layout_file.h"
#include "macros/macro_record.h"
#include "session/keypad_session.h"

namespace qp40 {

// The session's layout (see KeypadSession::CurrentLayout) with `macros`, and the keypad's
// identity while it is connected, as `qp40ctl export` writes it.
Layout SessionLayout(KeypadSession& session, const std::map<int, MacroBuffer>& macros);

}  // namespace qp40
