#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace qp40 {

// The device-change event acted on: the set of device nodes changed.
inline constexpr int kDeviceNodesChanged = 7;

// Turns the platform's device notices into calls of the main dialog's device-change handler.
// It watches a descriptor for readability (no timer); when readable, `drain` takes the waiting
// notices and says how many added or removed a device, and each such notice runs
// `on_device_change` with event type 7, as the platform's "device nodes changed" notice would.
class DeviceNoticeListener : public QObject {
  Q_OBJECT

 public:
  DeviceNoticeListener(int fd, std::function<int()> drain,
                       std::function<void(int event_type)> on_device_change,
                       QObject* parent = nullptr);

 private:
  void OnReadable();

  QSocketNotifier* notifier_;
  std::function<int()> drain_;
  std::function<void(int)> on_device_change_;
};

}  // namespace qp40
