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
// pointed at the udev rule.
OpenError WhyOpenFailed(const std::string& path) {
#ifdef __linux__
  if (access(path.c_str(), R_OK | W_OK) != 0 && errno == EACCES) {
    return OpenError::kPermissionDenied;
  }
#else
  (void)path;
#endif
  return OpenError::kOther;
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
  hid_device* device = hid_open_path(path.c_str());
  if (device == nullptr) {
    return {nullptr, WhyOpenFailed(path)};
  }
  return {std::make_unique<HidapiReadChannel>(device), OpenError::kNone};
}

OpenResult<WriteChannel> HidapiTransport::OpenWrite(const std::string& path) {
  hid_device* device = hid_open_path(path.c_str());
  if (device == nullptr) {
    return {nullptr, WhyOpenFailed(path)};
  }
  return {std::make_unique<HidapiWriteChannel>(device), OpenError::kNone};
}

}  // namespace qp40
