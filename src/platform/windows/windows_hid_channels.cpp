#include "platform/windows/windows_hid_channels.h"

#include <algorithm>

namespace qp40 {

namespace {

// A keypad that keeps sending must not hold the link in the discard loop.
constexpr int kMaxDiscardedReports = 256;

// The completion record's event: manual reset, created signalled, reset before each transfer.
Win32Handle MakeCompletionEvent() {
  return Win32Handle(CreateEventA(nullptr, TRUE, TRUE, nullptr));
}

enum class TransferEnd { kDone, kTimedOut, kFailed };

// Waits at most `timeout_ms` for the transfer of `overlapped` and collects its result. When the
// wait runs out the transfer is cancelled and its end awaited, because its buffer and record are
// used again by the next transfer; a transfer that finished in the meantime still counts.
TransferEnd FinishTransfer(HANDLE handle, OVERLAPPED& overlapped, DWORD timeout_ms, DWORD& length) {
  bool cancelled = false;
  if (WaitForSingleObject(overlapped.hEvent, timeout_ms) != WAIT_OBJECT_0) {
    CancelIo(handle);
    cancelled = true;
  }
  if (GetOverlappedResult(handle, &overlapped, &length, TRUE)) {
    return TransferEnd::kDone;
  }
  return cancelled && GetLastError() == ERROR_OPERATION_ABORTED ? TransferEnd::kTimedOut
                                                                : TransferEnd::kFailed;
}

}  // namespace

void CopyInputReport(std::span<const std::uint8_t> input, ConfigReport& report) {
  report.fill(0);
  report[kReportIdByte] = kReportId;
  if (input.size() <= 1) return;
  const std::size_t data_length = std::min(input.size() - 1, kReportSize - 1);
  std::copy_n(input.begin() + 1, data_length, report.begin() + 1);
}

WindowsHidReadChannel::WindowsHidReadChannel(Win32Handle handle, std::size_t input_length)
    : handle_(std::move(handle)),
      event_(MakeCompletionEvent()),
      buffer_(std::max(input_length, kReportSize)) {}

ReceiveStatus WindowsHidReadChannel::Receive(ConfigReport& report, int timeout_ms) {
  if (gone_ || !handle_.Valid() || !event_.Valid()) return ReceiveStatus::kDeviceGone;
  ResetEvent(event_.Get());
  OVERLAPPED overlapped{};
  overlapped.hEvent = event_.Get();
  DWORD length = 0;
  TransferEnd end = TransferEnd::kDone;
  if (!ReadFile(handle_.Get(), buffer_.data(), static_cast<DWORD>(buffer_.size()), nullptr,
                &overlapped)) {
    end = GetLastError() == ERROR_IO_PENDING
              ? FinishTransfer(handle_.Get(), overlapped,
                               static_cast<DWORD>(std::max(timeout_ms, 0)), length)
              : TransferEnd::kFailed;
  } else if (!GetOverlappedResult(handle_.Get(), &overlapped, &length, FALSE)) {
    end = TransferEnd::kFailed;
  }
  switch (end) {
    case TransferEnd::kDone:
      CopyInputReport(std::span(buffer_.data(), std::min<std::size_t>(length, buffer_.size())),
                      report);
      return ReceiveStatus::kReceived;
    case TransferEnd::kTimedOut:
      return ReceiveStatus::kTimedOut;
    case TransferEnd::kFailed:
      break;
  }
  gone_ = true;
  return ReceiveStatus::kDeviceGone;
}

int WindowsHidReadChannel::DiscardPending() {
  // Reports the system has queued complete a read at once; a zero wait takes just those.
  ConfigReport scratch{};
  int discarded = 0;
  while (discarded < kMaxDiscardedReports && Receive(scratch, 0) == ReceiveStatus::kReceived) {
    ++discarded;
  }
  return discarded;
}

WindowsHidWriteChannel::WindowsHidWriteChannel(Win32Handle handle, std::size_t output_length)
    : handle_(std::move(handle)),
      event_(MakeCompletionEvent()),
      buffer_(output_length > 0 ? output_length : kReportSize) {}

SendStatus WindowsHidWriteChannel::Send(const ConfigReport& report) {
  if (gone_ || !handle_.Valid() || !event_.Valid()) return SendStatus::kDeviceGone;
  std::fill(buffer_.begin(), buffer_.end(), 0);
  std::copy_n(report.begin(), std::min(report.size(), buffer_.size()), buffer_.begin());
  buffer_[kReportIdByte] = kReportId;
  ResetEvent(event_.Get());
  OVERLAPPED overlapped{};
  overlapped.hEvent = event_.Get();
  DWORD length = 0;
  TransferEnd end = TransferEnd::kDone;
  if (!WriteFile(handle_.Get(), buffer_.data(), static_cast<DWORD>(buffer_.size()), nullptr,
                 &overlapped)) {
    end = GetLastError() == ERROR_IO_PENDING
              ? FinishTransfer(handle_.Get(), overlapped, kSendTimeoutMs, length)
              : TransferEnd::kFailed;
  } else if (!GetOverlappedResult(handle_.Get(), &overlapped, &length, FALSE)) {
    end = TransferEnd::kFailed;
  }
  switch (end) {
    case TransferEnd::kDone:
      return SendStatus::kSent;
    case TransferEnd::kTimedOut:
      // A keypad that takes no report fails this try; a later one may go through.
      return SendStatus::kDeviceGone;
    case TransferEnd::kFailed:
      break;
  }
  gone_ = true;
  return SendStatus::kDeviceGone;
}

}  // namespace qp40
