#pragma once

#include <hidapi.h>

#include "link/transport.h"

namespace qp40 {

// Size of the buffer one input report is read into: larger than any report of the keypad, so
// an oversized report is cut by us, not by the system.
inline constexpr std::size_t kHidReadBufferSize = 64;

// Receives on one open of a hidapi device; closes it when destroyed.
class HidapiReadChannel final : public ReadChannel {
 public:
  explicit HidapiReadChannel(hid_device* device) : device_(device) {}
  ~HidapiReadChannel() override;
  HidapiReadChannel(const HidapiReadChannel&) = delete;
  HidapiReadChannel& operator=(const HidapiReadChannel&) = delete;

  ReceiveStatus Receive(ConfigReport& report, int timeout_ms) override;
  int DiscardPending() override;

 private:
  hid_device* device_;
};

// Sends on one open of a hidapi device; closes it when destroyed.
class HidapiWriteChannel final : public WriteChannel {
 public:
  explicit HidapiWriteChannel(hid_device* device) : device_(device) {}
  ~HidapiWriteChannel() override;
  HidapiWriteChannel(const HidapiWriteChannel&) = delete;
  HidapiWriteChannel& operator=(const HidapiWriteChannel&) = delete;

  SendStatus Send(const ConfigReport& report) override;

 private:
  hid_device* device_;
};

}  // namespace qp40
