#pragma once

#include <string>

#include "session/session_result.h"

namespace qp40 {

// Why an attach failed and what the user can do, in a sentence (without the program's name),
// for a user who sees no log: "no QP40 keypad found. Plug it in while holding ...". Empty when
// the attach succeeded.
std::string AttachProblemText(const AttachResult& result);

}  // namespace qp40
