#include "log/log.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qp40 {
namespace {

class FixedClock : public Clock {
 public:
  TimeOfDay Now() const override { return time; }
  TimeOfDay time{9, 3, 7};
};

class RecordingNotifier : public Notifier {
 public:
  void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
  std::vector<std::string> messages;
};

class RecordingSink : public LogSink {
 public:
  void OnLineAppended(std::string_view line, const std::string& whole) override {
    lines.emplace_back(line);
    last_whole = whole;
  }
  std::vector<std::string> lines;
  std::string last_whole;
};

TEST(LogTest, LineHasTextSixSpacesTimeAndCrLf) {
  FixedClock clock;
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
  ASSERT_EQ(sink.lines.size(), 3u);
  EXPECT_EQ(sink.lines[1], "      (14:05:09)\r\n");
  EXPECT_EQ(sink.last_whole, log.Text());
  EXPECT_TRUE(notifier.messages.empty());
}

TEST(LogTest, WithoutSinkTheLineIsLostAndTheUserIsTold) {
  FixedClock clock;
  RecordingNotifier notifier;
  Log log(clock, notifier);

  log.AppendLog(">> Tx ERROR: 3");

  EXPECT_EQ(log.Text(), "");
  EXPECT_EQ(notifier.messages, std::vector<std::string>{"qlReadWindow"});
}

}  // namespace
}  // namespace qp40
