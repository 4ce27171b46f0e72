#include "ui/common/device_notice.h"

#include <QSocketNotifier>

namespace qp40 {

DeviceNoticeListener::DeviceNoticeListener(int fd, std::function<int()> drain,
                                           std::function<void(int event_type)> on_device_change,
                                           QObject* parent)
    : QObject(parent),
      notifier_(new QSocketNotifier(fd, QSocketNotifier::Read, this)),
      drain_(std::move(drain)),
      on_device_change_(std::move(on_device_change)) {
  connect(notifier_, &QSocketNotifier::activated, this, &DeviceNoticeListener::OnReadable);
}

void DeviceNoticeListener::OnReadable() {
  // A load started by a notice repaints the window; notices arriving meanwhile wait until the
  // handler is done.
  notifier_->setEnabled(false);
  const int changes = drain_();
  for (int i = 0; i < changes; ++i) {
    on_device_change_(kDeviceNodesChanged);
  }
  notifier_->setEnabled(true);
}

#ifndef _WIN32
std::unique_ptr<QObject> WatchDeviceNotices(const DeviceNoticeSource& source, QWidget&,
                                            std::function<void(int event_type)> on_device_change) {
  if (source.fd < 0 || !source.drain) return nullptr;
  return std::make_unique<DeviceNoticeListener>(source.fd, source.drain,
                                                std::move(on_device_change));
}
#endif

}  // namespace qp40
