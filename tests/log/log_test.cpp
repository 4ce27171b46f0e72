#include "log/log.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/log_doubles.h"

namespace qp40 {
namespace {

using testing::FixedClock;
using testing::RecordingNotifier;
using testing::RecordingSink;

TEST(LogTest, LineHasTextSixSpacesTimeAndCrLf) {
  FixedClock clock{{9, 3, 7}};
  RecordingNotifier notifier;
  RecordingSink sink;
  Log log(clock, notifier);
  log.SetSink(&sink);

  log.AppendLog(">> No Device");
  clock.time = {14, 5, 9};
  log.AppendLog("");
  log.AppendLog(">> Device READ Openned \n");

  EXPECT_EQ(log.Text(),
            ">> No Device      (09:03:07)\r\n"
            "      (14:05:09)\r\n"
            ">> Device READ Openned \n      (14:05:09)\r\n");
  ASSERT_EQ(sink.raw_lines.size(), 3u);
  EXPECT_EQ(sink.raw_lines[1], "      (14:05:09)\r\n");
  EXPECT_EQ(sink.last_whole, log.Text());
  EXPECT_TRUE(notifier.messages.empty());
}

TEST(LogTest, WithoutSinkTheLineIsLostAndTheUserIsTold) {
  FixedClock clock{{9, 3, 7}};
  RecordingNotifier notifier;
  Log log(clock, notifier);

  log.AppendLog(">> Tx ERROR: 3");

  EXPECT_EQ(log.Text(), "");
  EXPECT_EQ(notifier.messages, std::vector<std::string>{"qlReadWindow"});
}

}  // namespace
}  // namespace qp40
