#include "platform/hidapi_transport.h"

#include <hidapi.h>

#include <cerrno>
#include <memory>

#include "platform/hidapi_channels.h"

#ifdef __linux__
#include <unistd.h>
#endif

namespace qp40 {

namespace {

// Tells a device node this user may not open from every other failure, so the user can be
// pointed at the udev rule. `open_errno` is errno as hid_open_path left it; should hidapi's own
// clean-up have overwritten it, the node's access rights tell.
OpenError WhyOpenFailed(const std::string& path, int open_errno) {
#ifdef __linux__
  if (open_errno == EACCES || open_errno == EPERM) {
    return OpenError::kPermissionDenied;
  }
  if (access(path.c_str(), R_OK | W_OK) != 0 && errno == EACCES) {
    return OpenError::kPermissionDenied;
  }
#else
  (void)path;
  (void)open_errno;
#endif
  return OpenError::kOther;
}

struct OpenedDevice {
  hid_device* device = nullptr;  // null when the open failed
  OpenError error = OpenError::kNone;
};

// Opens the path once more; on failure the error says why.
OpenedDevice OpenDevice(const std::string& path) {
  errno = 0;
  hid_device* device = hid_open_path(path.c_str());
  if (device == nullptr) {
    return {nullptr, WhyOpenFailed(path, errno)};
  }
  return {device, OpenError::kNone};
}

}  // namespace

HidapiTransport::HidapiTransport() { hid_init(); }

HidapiTransport::~HidapiTransport() { hid_exit(); }

std::vector<HidInterfaceInfo> HidapiTransport::ListInterfaces() {
  std::vector<HidInterfaceInfo> interfaces;
  hid_device_info* list = hid_enumerate(0, 0);
  for (const hid_device_info* info = list; info != nullptr; info = info->next) {
    interfaces.push_back(
        {info->path != nullptr ? info->path : "", info->vendor_id, info->product_id});
  }
  hid_free_enumeration(list);
  return interfaces;
}

OpenResult<ReadChannel> HidapiTransport::OpenRead(const std::string& path) {
  const OpenedDevice opened = OpenDevice(path);
  if (opened.device == nullptr) {
    return {nullptr, opened.error};
  }
  return {std::make_unique<HidapiReadChannel>(opened.device), OpenError::kNone};
}

OpenResult<WriteChannel> HidapiTransport::OpenWrite(const std::string& path) {
  const OpenedDevice opened = OpenDevice(path);
  if (opened.device == nullptr) {
    return {nullptr, opened.error};
  }
  return {std::make_unique<HidapiWriteChannel>(opened.device), OpenError::kNone};
}

}  // namespace qp40
