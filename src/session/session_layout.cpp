#include "session/session_layout.h"

#include "session/keypad_list.h"

namespace qp40 {

Layout SessionLayout(KeypadSession& session, const std::map<int, MacroBuffer>& macros) {
  Layout layout = session.CurrentLayout(macros);
  if (session.Connected()) layout.identity = IdentityText(session.Link().GetDeviceId());
  return layout;
}

}  // namespace qp40
