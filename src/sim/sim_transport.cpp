#include "sim/sim_transport.h"

#include <chrono>

#include "sim/deadline_wait.h"

namespace qp40::sim {

class SimReadChannel final : public ReadChannel {
 public:
  explicit SimReadChannel(SimTransport& transport) : transport_(transport) {}

  ReceiveStatus Receive(ConfigReport& report, int /*timeout_ms*/) override {
    VirtualKeypad& keypad = transport_.keypad_;
    if (keypad.Gone()) {
      transport_.pending_.clear();
      return ReceiveStatus::kDeviceGone;
    }
    if (transport_.pending_.empty()) {
      // Nothing will come for the request: time out at once. A reply held back for it arrives
      // just after, and waits for whoever reads next.
      while (const std::optional<ConfigReport> late = keypad.TakeLateReply()) {
        transport_.pending_.push_back({*late, std::chrono::steady_clock::now()});
      }
      return ReceiveStatus::kTimedOut;
    }
    // The reply reaches the host one round trip after its request left.
    WaitUntil(transport_.pending_.front().arrival);
    report = transport_.pending_.front().report;
    transport_.pending_.pop_front();
    return ReceiveStatus::kReceived;
  }

  int DiscardPending() override {
    const int count = static_cast<int>(transport_.pending_.size());
    transport_.pending_.clear();
    return count;
  }

 private:
  SimTransport& transport_;
};

class SimWriteChannel final : public WriteChannel {
 public:
  explicit SimWriteChannel(SimTransport& transport) : transport_(transport) {}

  SendStatus Send(const ConfigReport& report) override {
    VirtualKeypad& keypad = transport_.keypad_;
    const auto sent = std::chrono::steady_clock::now();
    const std::optional<ConfigReport> reply = keypad.HandleRequest(report);
    if (keypad.Gone()) {
      return SendStatus::kDeviceGone;
    }
    if (reply) {
      const std::chrono::microseconds round_trip{keypad.LatencyMicroseconds()};
      transport_.pending_.push_back({*reply, sent + round_trip});
    }
    return SendStatus::kSent;
  }

 private:
  SimTransport& transport_;
};

std::vector<HidInterfaceInfo> SimTransport::ListInterfaces() {
  if (keypad_.Gone()) {
    return {};
  }
  return {HidInterfaceInfo{path_, kKeypadVendorId, kKeypadProductId}};
}

OpenResult<ReadChannel> SimTransport::OpenRead(const std::string& path) {
  if (path != path_ || keypad_.Gone()) {
    return {nullptr, OpenError::kOther};
  }
  return {std::make_unique<SimReadChannel>(*this), OpenError::kNone};
}

OpenResult<WriteChannel> SimTransport::OpenWrite(const std::string& path) {
  if (path != path_ || keypad_.Gone()) {
    return {nullptr, OpenError::kOther};
  }
  return {std::make_unique<SimWriteChannel>(*this), OpenError::kNone};
}

}  // namespace qp40::sim
