#include "keypad_peer.h"

#include <algorithm>
#include <optional>

namespace qp40::testing {

KeypadPeer::KeypadPeer(sim::VirtualKeypad& keypad)
    : keypad_(keypad), peer_{this, &KeypadPeer::Write, &KeypadPeer::Read} {}

void KeypadPeer::Write(void* context, const unsigned char* data, std::size_t length) {
  auto& self = *static_cast<KeypadPeer*>(context);
  if (length != kReportSize || data[kReportIdByte] != kReportId) {
    ++self.malformed_writes_;
    return;
  }
  ConfigReport request{};
  std::copy_n(data, kReportSize, request.begin());
  if (const std::optional<ConfigReport> reply = self.keypad_.HandleRequest(request)) {
    self.input_.emplace_back(reply->begin() + 1, reply->end());
  }
}

int KeypadPeer::Read(void* context, unsigned char* data, std::size_t length) {
  auto& self = *static_cast<KeypadPeer*>(context);
  if (self.input_.empty()) {
    while (const std::optional<ConfigReport> late = self.keypad_.TakeLateReply()) {
      self.input_.emplace_back(late->begin() + 1, late->end());
    }
    return 0;
  }
  const std::vector<std::uint8_t> report = std::move(self.input_.front());
  self.input_.pop_front();
  // A buffer too small for the report gets its first bytes, as from hidraw.
  const std::size_t copied = std::min(length, report.size());
  std::copy_n(report.begin(), copied, data);
  return static_cast<int>(copied);
}

}  // namespace qp40::testing
