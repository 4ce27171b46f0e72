#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "link/device_notice.h"

class QSocketNotifier;
class QWidget;

namespace qp40 {

// The device-change event acted on: the set of device nodes changed.
inline constexpr int kDeviceNodesChanged = 7;

// What the window does with the platform's device notices.
struct DeviceNoticeHandlers {
  // Every notice that added or removed a device: event type 7, as the platform's "device nodes
  // changed" notice would give.
  std::function<void(int event_type)> on_device_change;
  // A removed device node, before its event-type-7 call (where the platform names the node).
  std::function<void(const std::string& node)> on_device_removed;
};

// Where the platform's device notices come from. On Linux: a descriptor that becomes readable
// when notices wait, and the call that takes those that added or removed a device node. On
// Windows: the notices the system sends to the main window, when `window_notices` is set. With
// neither, the window only searches for the keypad once, at start, and learns of an unplugged
// keypad from its exchanges alone.
struct DeviceNoticeSource {
  int fd = -1;
  std::function<std::vector<DeviceNotice>()> drain;
  bool window_notices = false;
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

// Whatever delivers the notices of `source` to `handlers` for as long as it lives: a
// DeviceNoticeListener on the descriptor, or on Windows a filter of the messages `window`
// receives. Null when `source` has nothing to watch.
std::unique_ptr<QObject> WatchDeviceNotices(const DeviceNoticeSource& source, QWidget& window,
                                            DeviceNoticeHandlers handlers);

}  // namespace qp40
