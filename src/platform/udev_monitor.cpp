#include "platform/udev_monitor.h"

#include <libudev.h>

#include <cstring>
#include <optional>

namespace qp40 {

namespace {

constexpr const char* kHidrawSubsystem = "hidraw";

std::optional<DeviceNotice::Change> ChangeOf(const char* action) {
  if (action == nullptr) return std::nullopt;
  if (std::strcmp(action, "add") == 0) return DeviceNotice::Change::kAdded;
  if (std::strcmp(action, "remove") == 0) return DeviceNotice::Change::kRemoved;
  return std::nullopt;
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

std::vector<DeviceNotice> UdevHidrawMonitor::DrainNotices() {
  std::vector<DeviceNotice> notices;
  if (monitor_ == nullptr) return notices;
  // The monitor's socket does not block: receiving stops when no notice is left.
  while (udev_device* device = udev_monitor_receive_device(monitor_)) {
    if (const auto change = ChangeOf(udev_device_get_action(device))) {
      const char* node = udev_device_get_devnode(device);
      notices.push_back({*change, node != nullptr ? node : ""});
    }
    udev_device_unref(device);
  }
  return notices;
}

}  // namespace qp40
