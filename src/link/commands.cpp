#include <algorithm>
#include <string>

#include "link/keypad_link.h"
#include "log/text_format.h"

namespace qp40 {

namespace {

constexpr const char* kReadPageFailedLine = "ERROR: READ Device ";
constexpr const char* kWritePageFailedLine = "ERROR:WRITE Device ";
constexpr std::size_t kPayloadEnd = kPayloadByte + kPayloadSize;
constexpr const char* kEndConfigurationMessage = "End configuration, please reboot keyboard. ";

}  // namespace

// Sets the fields of a command without pages: the payload carries the filler, where each byte
// holds its own position in the report.
void KeypadLink::FillCommand(std::uint8_t command, std::uint8_t argument) {
  request_[kReportIdByte] = kReportId;
  request_[kCommandByte] = command;
  request_[kArgumentByte] = argument;
  for (std::size_t i = kPayloadByte; i < kPayloadEnd; ++i) {
    request_[i] = static_cast<std::uint8_t>(i);
  }
  request_[kPageIndexByte] = 0;
  request_[kPageFieldByte] = 0;
}

void KeypadLink::NotifyPage() {
  if (page_observer_) {
    page_observer_();
  }
}

int KeypadLink::ReadBlock(std::uint8_t block, std::span<std::uint8_t, kBlockSize> destination) {
  int failed_pages = 0;
  for (std::size_t page = 0; page < kPagesPerBlock; ++page) {
    if (device_gone_) {
      // The pages an unplugged keypad can no longer send count as failed, without a try each.
      return failed_pages + static_cast<int>(kPagesPerBlock - page);
    }
    // The payload of a read request is left as the previous request had it.
    request_[kReportIdByte] = kReportId;
    request_[kCommandByte] = kCmdReadPage;
    request_[kArgumentByte] = block;
    request_[kPageIndexByte] = static_cast<std::uint8_t>(page);
    request_[kPageFieldByte] = kLastPageField;
    if (ExchangeReport()) {
      const auto payload = std::span(reply_).subspan<kPayloadByte, kPayloadSize>();
      const auto target = destination.subspan(page * kPageSize, kPageSize);
      std::copy(payload.begin(), payload.end(), target.begin());
    } else {
      // The page keeps what the destination held before: the reply buffer holds no data of it.
      log_.AppendLog(kReadPageFailedLine);
      ++failed_pages;
    }
    NotifyPage();
  }
  return failed_pages;
}

int KeypadLink::WriteBlock(std::uint8_t block, std::span<const std::uint8_t, kBlockSize> source) {
  int failed_pages = 0;
  for (std::size_t page = 0; page < kPagesPerBlock; ++page) {
    if (device_gone_) {
      return failed_pages + static_cast<int>(kPagesPerBlock - page);
    }
    request_[kReportIdByte] = kReportId;
    request_[kCommandByte] = kCmdWritePage;
    request_[kArgumentByte] = block;
    const auto data = source.subspan(page * kPageSize, kPageSize);
    std::copy(data.begin(), data.end(), request_.begin() + kPayloadByte);
    request_[kPageIndexByte] = static_cast<std::uint8_t>(page);
    request_[kPageFieldByte] = kLastPageField;
    if (!ExchangeReport()) {
      log_.AppendLog(kWritePageFailedLine);
      ++failed_pages;
    }
    NotifyPage();
  }
  return failed_pages;
}

bool KeypadLink::PrepareBlock(std::uint8_t block) {
  FillCommand(kCmdPrepareBlock, block);
  return ExchangeReport();
}

bool KeypadLink::RebootDevice() {
  FillCommand(kCmdReboot, 0);
  return ExchangeReport();
}

bool KeypadLink::RestoreFactorySettings() {
  FillCommand(kCmdRestoreFactory, 0);
  return ExchangeReport();
}

bool KeypadLink::CloseAndReboot() {
  const bool rebooted = RebootDevice();
  CloseKeypad();
  SetConnected(false);
  notifier_.ShowMessage(kEndConfigurationMessage);
  return rebooted;
}

bool KeypadLink::ReadDeviceId() {
  device_id_.fill(0);
  FillCommand(kCmdReadDeviceId, 0);
  if (!ExchangeReport()) {
    // The reply buffer holds some earlier reply, not the identity; the exchange has already
    // logged its error line, and the identity stays all zeros.
    return false;
  }
  std::string line = "<< DeviceID: ";
  for (std::size_t i = 0; i < kDeviceIdSize; ++i) {
    device_id_[i] = reply_[kPayloadByte + i];
    line += FormatText("%2.2x.", device_id_[i]);
  }
  log_.AppendLog(line);
  if (device_id_[kDeviceIdErrorByte] != 0) {
    log_.AppendLog(FormatText(">> ERROR: DeviceID 0x%x", device_id_[kDeviceIdErrorByte]));
  }
  return true;
}

}  // namespace qp40
