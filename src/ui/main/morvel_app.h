#pragma once

#include <QApplication>
#include <functional>

#include "link/transport.h"
#include "ui/common/device_notice_watch.h"

namespace qp40 {

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
