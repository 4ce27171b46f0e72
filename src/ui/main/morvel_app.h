#pragma once

#include <QApplication>
#include <filesystem>
#include <functional>
#include <optional>

#include "link/transport.h"
#include "ui/common/device_notice_watch.h"

namespace qp40 {

// The application: one run of the main dialog over a keypad transport.
class CMorvelApp : public QApplication {
  Q_OBJECT

 public:
  CMorvelApp(int& argc, char** argv);

  // Builds the tool's state, runs the main dialog modally and returns when it closes; the
  // result is the program's exit status. With `history_root`, the keypad's history is kept
  // there (the same folder qp40ctl keeps it in).
  int InitInstance(Transport& transport, const DeviceNoticeSource& notices,
                   const std::optional<std::filesystem::path>& history_root);
};

}  // namespace qp40
