#pragma once

#include <string>
#include <vector>

#include "link/transport.h"

namespace qp40 {

// The transport to real keypads, through hidapi (hidraw on Linux). The channels it opens must
// be closed before the transport goes away, since that shuts hidapi down.
class HidapiTransport final : public Transport {
 public:
  HidapiTransport();
  ~HidapiTransport() override;
  HidapiTransport(const HidapiTransport&) = delete;
  HidapiTransport& operator=(const HidapiTransport&) = delete;

  // Every HID interface hidapi enumerates, in its order.
  std::vector<HidInterfaceInfo> ListInterfaces() override;
  // Each call opens the path once more: the read and the write channel are separate opens.
  // kPermissionDenied when the device node exists but this user may not read and write it.
  OpenResult<ReadChannel> OpenRead(const std::string& path) override;
  OpenResult<WriteChannel> OpenWrite(const std::string& path) override;
};

}  // namespace qp40
