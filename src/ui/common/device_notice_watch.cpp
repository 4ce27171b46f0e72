#include "ui/common/device_notice_watch.h"

#include <QSocketNotifier>

namespace qp40 {

DeviceNoticeListener::DeviceNoticeListener(int fd, std::function<std::vector<DeviceNotice>()> drain,
                                           DeviceNoticeHandlers handlers, QObject* parent)
    : QObject(parent),
      notifier_(new QSocketNotifier(fd, QSocketNotifier::Read, this)),
      drain_(std::move(drain)),
      handlers_(std::move(handlers)) {
  connect(notifier_, &QSocketNotifier::activated, this, &DeviceNoticeListener::OnReadable);
}

void DeviceNoticeListener::OnReadable() {
  // A load started by a notice repaints the window; notices arriving meanwhile wait until the
  // handler is done.
  notifier_->setEnabled(false);
  for (const DeviceNotice& notice : drain_()) {
    if (notice.change == DeviceNotice::Change::kRemoved && handlers_.on_device_removed) {
      handlers_.on_device_removed(notice.node);
    }
    if (handlers_.on_device_change) handlers_.on_device_change(kDeviceNodesChanged);
  }
  notifier_->setEnabled(true);
}

#ifndef _WIN32
std::unique_ptr<QObject> WatchDeviceNotices(const DeviceNoticeSource& source, QWidget&,
                                            DeviceNoticeHandlers handlers) {
  if (source.fd < 0 || !source.drain) return nullptr;
  return std::make_unique<DeviceNoticeListener>(source.fd, source.drain, std::move(handlers));
}
#endif

}  // namespace qp40
