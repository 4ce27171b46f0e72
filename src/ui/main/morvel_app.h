#pragma once

#include <QApplication>
#include <functional>
#include <vector>

#include "link/device_notice.h"

#include "link/transport.h"

namespace qp40 {

// Where the platform's device notices come from: a descriptor that becomes readable when notices
// wait, and the call that takes those that added or removed a device. No descriptor (-1) means
// the window only searches for the keypad once, at start, and learns of an unplugged keypad
// from its exchanges alone.
struct DeviceNoticeSource {
  int fd = -1;
  std::function<std::vector<DeviceNotice>()> drain;
};

// The application: one run of the main dialog over a keypad transport.
class CMorvelApp : public QApplication {
  Q_OBJECT

 public:
  CMorvelApp(int& argc, char** argv);

  // Builds the tool's state, runs the main dialog modally and returns when it closes; the
  // result is the program's exit status.
  int InitInstance(Transport& transport, const DeviceNoticeSource& notices);
};

}  // namespace qp40
