#include "session/attach_text.h"

#include "link/keypad_link.h"

namespace qp40 {

std::string AttachProblemText(const AttachResult& result) {
  switch (result.status) {
    case SessionStatus::kDone:
      return {};
    case SessionStatus::kNoKeypad:
      return "no QP40 keypad found. Plug it in while holding its top-right key, so that it "
             "starts in Management mode (USB ID 04b4:0820).";
    case SessionStatus::kPermissionDenied:
#ifdef _WIN32
      return "found the keypad at " + result.path +
             " but may not open it (access denied): " + PermissionAdvice() + ".";
#else
      return "found the keypad at " + result.path +
             " but may not open it (permission denied): " + PermissionAdvice() + ".";
#endif
    default:
      return "found the keypad at " + result.path +
             " but could not open it; another program may be using it.";
  }
}

}  // namespace qp40
