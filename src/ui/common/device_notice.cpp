#include "ui/common/device_notice.h"

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

}  // namespace qp40
