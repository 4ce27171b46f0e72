#pragma once

#include <chrono>
#include <deque>
#include <string>
#include <utility>

#include "link/transport.h"
#include "sim/virtual_keypad.h"

namespace qp40::sim {

// The path under which the virtual keypad is listed.
inline constexpr const char* kSimPath = "sim:qp40-virtual-keypad";

// Connects the link to a VirtualKeypad in the same process, through the same seam as hidapi.
// It lists one interface, under `path`, with the keypad's vendor and product ID. A dropped reply is
// reported as an immediate time-out: nothing ever waits for real. With a latency, a reply arrives
// that long after its request was sent, and a receive waits for that moment, not a fixed time from
// its own start. The read channels share one queue of waiting input reports, as the channels of one
// HID interface do; a late reply joins it when a receive has timed out. The transport must outlive
// the channels it opens.
class SimTransport final : public Transport {
 public:
  explicit SimTransport(VirtualKeypad& keypad, std::string path = kSimPath)
      : keypad_(keypad), path_(std::move(path)) {}

  std::vector<HidInterfaceInfo> ListInterfaces() override;
  OpenResult<ReadChannel> OpenRead(const std::string& path) override;
  OpenResult<WriteChannel> OpenWrite(const std::string& path) override;

  VirtualKeypad& Keypad() { return keypad_; }
  const std::string& Path() const { return path_; }
  // Input reports that have arrived and wait to be received.
  std::size_t PendingCount() const { return pending_.size(); }

 private:
  friend class SimReadChannel;
  friend class SimWriteChannel;

  // An input report on its way, with the moment it reaches the host.
  struct PendingReport {
    ConfigReport report;
    std::chrono::steady_clock::time_point arrival;
  };

  VirtualKeypad& keypad_;
  std::string path_;
  std::deque<PendingReport> pending_;
};

}  // namespace qp40::sim
