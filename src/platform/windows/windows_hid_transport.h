#pragma once

#include <string>
#include <vector>

#include "link/transport.h"

namespace qp40 {

// The transport to real keypads on Windows: the HID interfaces from the device set-up calls
// (SetupDi) with their IDs from HidD_GetAttributes, and a read and a write channel on separate
// handles with overlapped I/O.
class WindowsHidTransport final : public Transport {
 public:
  // Every present HID interface that can be opened for the attribute query, in the system's
  // order; the others are left out.
  std::vector<HidInterfaceInfo> ListInterfaces() override;
  // Each call opens the path once more, sharing read and write with other programs.
  // kPermissionDenied when the system answers ERROR_ACCESS_DENIED: another program holds the
  // keypad, or the system keeps the interface for itself.
  OpenResult<ReadChannel> OpenRead(const std::string& path) override;
  OpenResult<WriteChannel> OpenWrite(const std::string& path) override;
};

}  // namespace qp40
