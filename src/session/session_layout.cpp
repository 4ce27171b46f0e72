#include "session/session_layout.h"

#include <string>

#include "log/text_format.h"

namespace qp40 {
namespace {

// The keypad's identity as hex bytes, as `qp40ctl info` shows it.
std::string IdentityHex(const DeviceId& identity) {
  std::string text;
  for (const std::uint8_t byte : identity) {
    if (!text.empty()) text += ' ';
    text += FormatText("%02x", byte);
  }
  return text;
}

}  // namespace

Layout SessionLayout(KeypadSession& session, const std::map<int, MacroBuffer>& macros) {
  Layout layout = session.CurrentLayout(macros);
  if (session.Connected()) layout.identity = IdentityHex(session.Link().GetDeviceId());
  return layout;
}

}  // namespace qp40
