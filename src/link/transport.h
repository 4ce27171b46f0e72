#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "link/report.h"

namespace qp40 {

// One HID interface as the platform lists it.
struct HidInterfaceInfo {
  std::string path;
  std::uint16_t vendor_id = 0;
  std::uint16_t product_id = 0;
};

enum class ReceiveStatus {
  kReceived,    // a report arrived and was stored
  kTimedOut,    // nothing arrived within the time-out
  kDeviceGone,  // the device is no longer there; later receives fail at once too
};

enum class SendStatus {
  kSent,
  kDeviceGone,
};

// Why an open failed: the permission case gets its own hint for the user.
enum class OpenError {
  kNone,
  kPermissionDenied,
  kOther,
};

// The receiving end of an open interface.
class ReadChannel {
 public:
  virtual ~ReadChannel() = default;
  // Waits at most timeout_ms for one input report. On kReceived, `report` holds it with byte 0
  // set to the report ID 0 and the 40 data bytes in bytes 1..40 (a shorter report is padded with
  // zeros, a longer one cut). On kTimedOut and kDeviceGone, `report` is left unchanged. No
  // receive is left outstanding when this returns.
  virtual ReceiveStatus Receive(ConfigReport& report, int timeout_ms) = 0;
  // Drops every input report that has already arrived and is waiting to be received, without
  // waiting for more. Returns how many were dropped.
  virtual int DiscardPending() = 0;
};

// The sending end of an open interface.
class WriteChannel {
 public:
  virtual ~WriteChannel() = default;
  // Sends one output report: byte 0 is the report ID (0), bytes 1..40 the data. Returns when the
  // report has been handed to the device, so the caller may reuse the buffer at once.
  virtual SendStatus Send(const ConfigReport& report) = 0;
};

template <typename Channel>
struct OpenResult {
  std::unique_ptr<Channel> channel;  // null when the open failed
  OpenError error = OpenError::kNone;
};

// The seam to the hardware: hidapi in platform/, the virtual keypad in sim/.
class Transport {
 public:
  virtual ~Transport() = default;
  // Every HID interface present, in the platform's order, with its vendor and product ID.
  virtual std::vector<HidInterfaceInfo> ListInterfaces() = 0;
  virtual OpenResult<ReadChannel> OpenRead(const std::string& path) = 0;
  virtual OpenResult<WriteChannel> OpenWrite(const std::string& path) = 0;
};

}  // namespace qp40
