#include "session/session_result.h"

namespace qp40 {

std::string StatusText(SessionStatus status) {
  switch (status) {
    case SessionStatus::kDone:
      return "done";
    case SessionStatus::kNoKeypad:
      return "no keypad found";
    case SessionStatus::kPermissionDenied:
      return "the keypad may not be opened";
    case SessionStatus::kOpenFailed:
      return "the keypad could not be opened";
    case SessionStatus::kNotConnected:
      return "no keypad is connected";
    case SessionStatus::kFailedPages:
      return "exchanges with the keypad failed";
    case SessionStatus::kKeypadGone:
      return "the keypad went away";
    case SessionStatus::kReadBackDiffers:
      return "the keypad does not hold what was written";
    case SessionStatus::kTextRefused:
      return "the text has no room";
    case SessionStatus::kRefused:
      return "refused";
  }
  return "unknown";
}

}  // namespace qp40
