#pragma once

#include <QObject>
#include <functional>
#include <memory>

class QSocketNotifier;
class QWidget;

namespace qp40 {

// The device-change event acted on: the set of device nodes changed.
inline constexpr int kDeviceNodesChanged = 7;

// Where the platform's device notices come from. On Linux: a descriptor that becomes readable
// when notices wait, and the call that takes them and says how many added or removed a device.
// On Windows: the notices the system sends to the main window, when `window_notices` is set.
// With neither, the window only searches for the keypad once, at start.
struct DeviceNoticeSource {
  int fd = -1;
  std::function<int()> drain;
  bool window_notices = false;
};

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

// Whatever delivers the notices of `source` to `on_device_change` for as long as it lives: a
// DeviceNoticeListener on the descriptor, or on Windows a filter of the messages `window`
// receives. Null when `source` has nothing to watch.
std::unique_ptr<QObject> WatchDeviceNotices(const DeviceNoticeSource& source, QWidget& window,
                                            std::function<void(int event_type)> on_device_change);

}  // namespace qp40
