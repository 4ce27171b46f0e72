#pragma once

namespace qp40::ctl {

// Exit status of qp40ctl, the contract with the scripts that call it.
inline constexpr int kExitOk = 0;
// The command ran but something failed: a page or exchange, a file, a script, a verification.
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;
// No keypad in Management mode was found, or it could not be opened.
inline constexpr int kExitNoKeypad = 3;

}  // namespace qp40::ctl
