#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "link/transport.h"
#include "platform/windows/win32_handle.h"

namespace qp40 {

// Puts one input report as Windows delivers it (the report-ID byte, then the data bytes) into
// `report`: byte 0 becomes the report ID 0, the data bytes follow, a short report padded with
// zeros, a long one cut.
void CopyInputReport(std::span<const std::uint8_t> input, ConfigReport& report);

// How long a send waits for the system to take the report before it gives up.
inline constexpr DWORD kSendTimeoutMs = 3000;

// Receives on a handle opened for reading with overlapped I/O; closes it when destroyed. Each
// receive posts one read, waits for its event at most the time-out and cancels the read when
// it runs out, so no read is ever left outstanding on the buffer.
class WindowsHidReadChannel final : public ReadChannel {
 public:
  // `input_length` is the size of the device's input reports, report-ID byte included; the
  // system refuses a read into a smaller buffer.
  WindowsHidReadChannel(Win32Handle handle, std::size_t input_length);

  // kDeviceGone when the read fails (ERROR_DEVICE_NOT_CONNECTED, or ERROR_OPERATION_ABORTED
  // that this channel did not cause, when the keypad is unplugged); every later receive then
  // fails at once.
  ReceiveStatus Receive(ConfigReport& report, int timeout_ms) override;
  int DiscardPending() override;

 private:
  Win32Handle handle_;
  Win32Handle event_;
  std::vector<std::uint8_t> buffer_;
  bool gone_ = false;
};

// Sends on a handle opened for writing with overlapped I/O; closes it when destroyed.
class WindowsHidWriteChannel final : public WriteChannel {
 public:
  // `output_length` is the size of the device's output reports, report-ID byte included: the
  // system takes only writes of exactly that size.
  WindowsHidWriteChannel(Win32Handle handle, std::size_t output_length);

  // kDeviceGone when the write fails, or when the system has not taken the report within
  // kSendTimeoutMs (the write is cancelled then).
  SendStatus Send(const ConfigReport& report) override;

 private:
  Win32Handle handle_;
  Win32Handle event_;
  std::vector<std::uint8_t> buffer_;
  bool gone_ = false;
};

}  // namespace qp40
