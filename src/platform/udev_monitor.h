#pragma once

#include <vector>

#include "link/device_notice.h"

struct udev;
struct udev_monitor;

namespace qp40 {

// Device notices on Linux: a udev monitor of the hidraw subsystem, the counterpart of the
// platform's "device nodes changed" notice. The window watches Fd() for readability and calls
// DrainNotices() when it is readable; nothing polls.
class UdevHidrawMonitor {
 public:
  UdevHidrawMonitor();
  ~UdevHidrawMonitor();
  UdevHidrawMonitor(const UdevHidrawMonitor&) = delete;
  UdevHidrawMonitor& operator=(const UdevHidrawMonitor&) = delete;

  // False when udev could not be reached (no notices will come; the keypad is still found at
  // start).
  bool Valid() const { return monitor_ != nullptr; }
  // The descriptor that becomes readable when notices wait; -1 when not valid.
  int Fd() const;
  // Receives every waiting notice without blocking; returns those that added or removed a
  // device node, in order.
  std::vector<DeviceNotice> DrainNotices();

 private:
  udev* udev_ = nullptr;
  udev_monitor* monitor_ = nullptr;
};

}  // namespace qp40
