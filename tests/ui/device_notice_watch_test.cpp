// Device notices reach the window through a watched descriptor, with no timer.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <unistd.h>
#endif

#include <QCoreApplication>
#include <string>
#include <vector>

#include "ui/common/busy_dialog.h"
#include "ui/common/device_notice_watch.h"

namespace qp40 {
namespace {

// The descriptor listener is what Linux uses; Windows sends its notices to the window instead.
#ifndef _WIN32
TEST(DeviceNotices, EachAddOrRemoveRunsTheHandlerWithEventType7AndRemovalsNameTheirNode) {
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  // Each byte in the pipe stands for one notice of node /dev/hidraw<n>: 'a' adds, 'r' removes.
  const auto drain = [read_end = fds[0]] {
    char bytes[16];
    const ssize_t count = read(read_end, bytes, sizeof bytes);
    std::vector<DeviceNotice> notices;
    for (ssize_t i = 0; i < count; ++i) {
      const auto change =
          bytes[i] == 'r' ? DeviceNotice::Change::kRemoved : DeviceNotice::Change::kAdded;
      notices.push_back({change, "/dev/hidraw" + std::to_string(i)});
    }
    return notices;
  };
  std::vector<std::string> calls;
  DeviceNoticeListener listener(
      fds[0], drain,
      {[&calls](int type) { calls.push_back("change " + std::to_string(type)); },
       [&calls](const std::string& node) { calls.push_back("removed " + node); }});

  ASSERT_EQ(write(fds[1], "ar", 2), 2);
  for (int i = 0; i < 10 && calls.empty(); ++i) QCoreApplication::processEvents();
  EXPECT_EQ(calls, (std::vector<std::string>{"change 7", "removed /dev/hidraw1", "change 7"}));

  // Nothing waiting: nothing runs.
  QCoreApplication::processEvents();
  EXPECT_EQ(calls.size(), 3u);
  close(fds[0]);
  close(fds[1]);
}
#endif

TEST(BusyDialog, ShowsItsTextAndCountsPagesUpToTheTotal) {
  BusyDialog busy(nullptr, QStringLiteral("Save data to device ..."), 3);
  EXPECT_TRUE(busy.isVisible());
  EXPECT_TRUE(busy.windowTitle().isEmpty());
  EXPECT_EQ(busy.Text(), "Save data to device ...");
  for (int i = 0; i < 4; ++i) busy.PageDone();
  EXPECT_EQ(busy.PagesDone(), 4);
  // The work cannot be stopped halfway.
  busy.close();
  EXPECT_TRUE(busy.isVisible());
}

}  // namespace
}  // namespace qp40
