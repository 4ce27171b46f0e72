#pragma once

#include <QObject>
#include <functional>
#include <string>
#include <vector>

#include "link/device_notice.h"

class QSocketNotifier;

namespace qp40 {

// The device-change event acted on: the set of device nodes changed.
inline constexpr int kDeviceNodesChanged = 7;

// What the window does with the platform's device notices.
struct DeviceNoticeHandlers {
  // Every notice that added or removed a device: event type 7, as the platform's "device nodes
  // changed" notice would give.
  std::function<void(int event_type)> on_device_change;
  // A removed device node, before its event-type-7 call.
  std::function<void(const std::string& node)> on_device_removed;
};

// Turns the platform's device notices into calls of the main dialog's device-change handlers.
// It watches a descriptor for readability (no timer); when readable, `drain` takes the waiting
// notices that added or removed a device node.
class DeviceNoticeListener : public QObject {
  Q_OBJECT

 public:
  DeviceNoticeListener(int fd, std::function<std::vector<DeviceNotice>()> drain,
                       DeviceNoticeHandlers handlers, QObject* parent = nullptr);

 private:
  void OnReadable();

  QSocketNotifier* notifier_;
  std::function<std::vector<DeviceNotice>()> drain_;
  DeviceNoticeHandlers handlers_;
};

}  // namespace qp40
