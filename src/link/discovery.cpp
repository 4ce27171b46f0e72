#include <algorithm>
#include <cstddef>
#include <string>
#include <utility>

#include "link/keypad_link.h"
#include "log/text_format.h"

namespace qp40 {

namespace {

constexpr const char* kReadOpenFailedMessage = "READ Open Failed";
constexpr const char* kWriteOpenFailedMessage = ">> WRITE Open Failed ! ";
constexpr const char* kReadOpenedLine = ">> Device READ Openned \n";
constexpr const char* kWriteOpenedLine = ">> Device WRITE Openned \n";
constexpr const char* kAttachedFormat = ">> Found one Keypad and Openned %d";
constexpr const char* kAttachFailedFormat =
    ">> Found Quilpad in Management Mode, but failed to open it %d";

}  // namespace

std::string PermissionAdvice() {
#ifdef _WIN32
  return "close other programs that use the keypad, then plug the keypad in again";
#else
  return "install the udev rule packaging/70-qp40.rules into /etc/udev/rules.d/, then run "
         "'udevadm control --reload' and plug the keypad in again";
#endif
}

int KeypadLink::FindKeypads(std::uint16_t vendor_id, std::uint16_t product_id) {
  CloseKeypad();
  int count = 0;
  for (const HidInterfaceInfo& info : transport_.ListInterfaces()) {
    if (info.vendor_id != vendor_id || info.product_id != product_id) {
      continue;
    }
    // Every match is counted; only the first kMaxMatchingPaths fit into the list.
    if (static_cast<std::size_t>(count) < kMaxMatchingPaths) {
      paths_[static_cast<std::size_t>(count)] = info.path;
    }
    ++count;
  }
  return count;
}

OpenError KeypadLink::OpenKeypad(const std::string& path) {
  CloseKeypad();
  OpenError error = OpenError::kNone;
  const auto note = [&error](OpenError refused) {
    if (error != OpenError::kPermissionDenied) error = refused;
  };

  OpenResult<ReadChannel> read = transport_.OpenRead(path);
  if (read.channel == nullptr) {
    notifier_.ShowMessage(kReadOpenFailedMessage);
    notifier_.ShowMessage(path);
    note(read.error == OpenError::kNone ? OpenError::kOther : read.error);
  } else {
    log_.AppendLog(kReadOpenedLine);
  }

  // The write channel is tried whatever became of the read channel.
  OpenResult<WriteChannel> write = transport_.OpenWrite(path);
  if (write.channel == nullptr) {
    notifier_.ShowMessage(kWriteOpenFailedMessage);
    note(write.error == OpenError::kNone ? OpenError::kOther : write.error);
  } else {
    log_.AppendLog(kWriteOpenedLine);
  }

  if (error == OpenError::kPermissionDenied) {
    // Say what to do about it, since the message boxes alone do not tell.
#ifdef _WIN32
    log_.AppendLog(">> Access denied on " + path + ": " + PermissionAdvice());
#else
    log_.AppendLog(">> Permission denied on " + path + ": " + PermissionAdvice());
#endif
  }
  if (error != OpenError::kNone) {
    // A half-open keypad is of no use; the channel that did open is closed here.
    return error;
  }
  reader_ = std::move(read.channel);
  writer_ = std::move(write.channel);
  open_path_ = path;
  device_gone_ = false;
  return OpenError::kNone;
}

KeypadLink::AttachReport KeypadLink::AttachKeypad() { return AttachKeypad(std::string()); }

KeypadLink::AttachReport KeypadLink::AttachKeypad(const std::string& path) {
  AttachReport report;
  report.found = FindKeypads(kKeypadVendorId, kKeypadProductId);
  if (report.found == 0) {
    return report;
  }
  if (path.empty()) {
    report.path = paths_[0];
  } else {
    const std::size_t listed = std::min(static_cast<std::size_t>(report.found), kMaxMatchingPaths);
    const auto end = paths_.begin() + static_cast<std::ptrdiff_t>(listed);
    if (std::find(paths_.begin(), end, path) == end) {
      report.error = OpenError::kOther;
      return report;
    }
    report.path = path;
  }
  report.error = OpenKeypad(report.path);
  log_.AppendLog(FormatText(report.Opened() ? kAttachedFormat : kAttachFailedFormat, report.found));
  return report;
}

void KeypadLink::CloseKeypad() {
  reader_.reset();
  writer_.reset();
  open_path_.clear();
}

}  // namespace qp40
