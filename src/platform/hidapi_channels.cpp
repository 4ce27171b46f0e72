#include "platform/hidapi_channels.h"

#include <algorithm>
#include <array>

namespace qp40 {

namespace {

// A keypad that keeps sending must not hold the link in the discard loop.
constexpr int kMaxDiscardedReports = 256;

}  // namespace

HidapiReadChannel::~HidapiReadChannel() { hid_close(device_); }

ReceiveStatus HidapiReadChannel::Receive(ConfigReport& report, int timeout_ms) {
  std::array<unsigned char, kHidReadBufferSize> buffer{};
  const int length = hid_read_timeout(device_, buffer.data(), buffer.size(), timeout_ms);
  if (length < 0) {
    return ReceiveStatus::kDeviceGone;
  }
  if (length == 0) {
    return ReceiveStatus::kTimedOut;
  }
  // The keypad's reports are unnumbered, so hidapi hands over the data bytes alone; they go
  // behind the report-ID byte, a short report padded with zeros, a long one cut.
  const std::size_t data_length = std::min<std::size_t>(length, kReportSize - 1);
  report.fill(0);
  report[kReportIdByte] = kReportId;
  std::copy_n(buffer.begin(), data_length, report.begin() + 1);
  return ReceiveStatus::kReceived;
}

int HidapiReadChannel::DiscardPending() {
  std::array<unsigned char, kHidReadBufferSize> buffer{};
  int discarded = 0;
  while (discarded < kMaxDiscardedReports &&
         hid_read_timeout(device_, buffer.data(), buffer.size(), 0) > 0) {
    ++discarded;
  }
  return discarded;
}

HidapiWriteChannel::~HidapiWriteChannel() { hid_close(device_); }

SendStatus HidapiWriteChannel::Send(const ConfigReport& report) {
  // hidapi takes the report ID in the first byte; 0 for a device without numbered reports.
  std::array<unsigned char, kReportSize> buffer{};
  std::copy(report.begin(), report.end(), buffer.begin());
  buffer[kReportIdByte] = kReportId;
  if (hid_write(device_, buffer.data(), buffer.size()) < 0) {
    return SendStatus::kDeviceGone;
  }
  return SendStatus::kSent;
}

}  // namespace qp40
