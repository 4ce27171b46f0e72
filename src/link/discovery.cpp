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

// Say what to do about a refused open, since the message boxes alone do not tell. On Linux the
// keypad's hidraw node belongs to root until the shipped udev rule hands it to the user at the
// seat; Windows refuses an interface that another program holds or that it keeps for itself.
std::string PermissionHint(const std::string& path) {
#ifdef _WIN32
  return ">> Access denied on " + path +
         ": close other programs that use the keypad, then plug the keypad in again";
#else
  return ">> Permission denied on " + path +
         ": install the udev rule packaging/70-qp40.rules into /etc/udev/rules.d/, then run "
         "'udevadm control --reload' and plug the keypad in again";
#endif
}

}  // namespace

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

bool KeypadLink::OpenKeypad(const std::string& path) {
  CloseKeypad();
  bool permission_denied = false;

  OpenResult<ReadChannel> read = transport_.OpenRead(path);
  if (read.channel == nullptr) {
    notifier_.ShowMessage(kReadOpenFailedMessage);
    notifier_.ShowMessage(path);
    permission_denied = read.error == OpenError::kPermissionDenied;
  } else {
    log_.AppendLog(kReadOpenedLine);
  }

  // The write channel is tried whatever became of the read channel.
  OpenResult<WriteChannel> write = transport_.OpenWrite(path);
  if (write.channel == nullptr) {
    notifier_.ShowMessage(kWriteOpenFailedMessage);
    permission_denied = permission_denied || write.error == OpenError::kPermissionDenied;
  } else {
    log_.AppendLog(kWriteOpenedLine);
  }

  if (permission_denied) {
    log_.AppendLog(PermissionHint(path));
  }
  if (read.channel == nullptr || write.channel == nullptr) {
    // A half-open keypad is of no use; the channel that did open is closed here.
    return false;
  }
  reader_ = std::move(read.channel);
  writer_ = std::move(write.channel);
  open_path_ = path;
  device_gone_ = false;
  return true;
}

bool KeypadLink::AttachKeypad() {
  const int count = FindKeypads(kKeypadVendorId, kKeypadProductId);
  if (count == 0) {
    return false;
  }
  const bool opened = OpenKeypad(paths_[0]);
  log_.AppendLog(FormatText(opened ? kAttachedFormat : kAttachFailedFormat, count));
  return opened;
}

void KeypadLink::CloseKeypad() {
  reader_.reset();
  writer_.reset();
  open_path_.clear();
}

}  // namespace qp40
