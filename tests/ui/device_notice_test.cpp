// Device notices reach the window through a watched descriptor, with no timer.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <unistd.h>
#endif

#include <QCoreApplication>
#include <vector>

#include "ui/common/busy_dialog.h"
#include "ui/common/device_notice.h"

namespace qp40 {
namespace {

// The descriptor listener is what Linux uses; Windows sends its notices to the window instead.
#ifndef _WIN32
TEST(DeviceNotices, EachAddOrRemoveRunsTheHandlerWithEventType7) {
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  // Each byte in the pipe stands for one notice; 'a' and 'r' add or remove, 'c' only changes.
  const auto drain = [read_end = fds[0]] {
    char notices[16];
    const ssize_t count = read(read_end, notices, sizeof notices);
    int changes = 0;
    for (ssize_t i = 0; i < count; ++i) changes += notices[i] != 'c';
    return changes;
  };
  std::vector<int> events;
  DeviceNoticeListener listener(fds[0], drain, [&events](int type) { events.push_back(type); });

  ASSERT_EQ(write(fds[1], "acr", 3), 3);
  for (int i = 0; i < 10 && events.empty(); ++i) QCoreApplication::processEvents();
  EXPECT_EQ(events, std::vector<int>({7, 7}));

  // Nothing waiting: nothing runs.
  QCoreApplication::processEvents();
  EXPECT_EQ(events.size(), 2u);
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
