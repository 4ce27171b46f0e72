#include "platform/udev_monitor.h"

#include <libudev.h>

#include <cstring>

namespace qp40 {

namespace {

constexpr const char* kHidrawSubsystem = "hidraw";

bool IsAddOrRemove(const char* action) {
  return action != nullptr &&
         (std::strcmp(action, "add") == 0 || std::strcmp(action, "remove") == 0);
}

}  // namespace

UdevHidrawMonitor::UdevHidrawMonitor() {
  udev_ = udev_new();
  if (udev_ == nullptr) return;
  udev_monitor* monitor = udev_monitor_new_from_netlink(udev_, "udev");
  if (monitor == nullptr) return;
  if (udev_monitor_filter_add_match_subsystem_devtype(monitor, kHidrawSubsystem, nullptr) < 0 ||
      udev_monitor_enable_receiving(monitor) < 0) {
    udev_monitor_unref(monitor);
    return;
  }
  monitor_ = monitor;
}

UdevHidrawMonitor::~UdevHidrawMonitor() {
  if (monitor_ != nullptr) udev_monitor_unref(monitor_);
  if (udev_ != nullptr) udev_unref(udev_);
}

int UdevHidrawMonitor::Fd() const {
  return monitor_ != nullptr ? udev_monitor_get_fd(monitor_) : -1;
}

int UdevHidrawMonitor::DrainNotices() {
  if (monitor_ == nullptr) return 0;
  int changes = 0;
  // The monitor's socket does not block: receiving stops when no notice is left.
  while (udev_device* device = udev_monitor_receive_device(monitor_)) {
    if (IsAddOrRemove(udev_device_get_action(device))) ++changes;
    udev_device_unref(device);
  }
  return changes;
}

}  // namespace qp40
