// Waits for a reply are cut into slices so the window repaints while a keypad stays silent.
#include <gtest/gtest.h>

#include <deque>

#include "ui/common/repainting_transport.h"

namespace qp40 {
namespace {

using std::chrono::milliseconds;
using TimePoint = std::chrono::steady_clock::time_point;

// What one receive of the fake keypad does: how long it takes and what it ends with.
struct Step {
  int takes_ms;  // -1: the whole time it was given
  ReceiveStatus status;
};

class ScriptedChannel final : public ReadChannel {
 public:
  ScriptedChannel(std::deque<Step>& steps, TimePoint& clock, std::vector<int>& asked)
      : steps_(steps), clock_(clock), asked_(asked) {}

  ReceiveStatus Receive(ConfigReport& report, int timeout_ms) override {
    asked_.push_back(timeout_ms);
    const Step step = steps_.empty() ? Step{-1, ReceiveStatus::kTimedOut} : steps_.front();
    if (!steps_.empty()) steps_.pop_front();
    clock_ += milliseconds(step.takes_ms < 0 ? timeout_ms : step.takes_ms);
    if (step.status == ReceiveStatus::kReceived) report.fill(0x55);
    return step.status;
  }
  int DiscardPending() override { return 0; }

 private:
  std::deque<Step>& steps_;
  TimePoint& clock_;
  std::vector<int>& asked_;
};

class ScriptedTransport final : public Transport {
 public:
  std::vector<HidInterfaceInfo> ListInterfaces() override { return {}; }
  OpenResult<ReadChannel> OpenRead(const std::string&) override {
    return {std::make_unique<ScriptedChannel>(steps, clock, asked), OpenError::kNone};
  }
  OpenResult<WriteChannel> OpenWrite(const std::string&) override { return {}; }

  std::deque<Step> steps;
  TimePoint clock{};
  std::vector<int> asked;
};

class RepaintingWait : public ::testing::Test {
 protected:
  ReceiveStatus Receive(int timeout_ms) {
    RepaintingTransport transport(
        inner_, [this] { ++repaints_; }, [this] { return inner_.clock; });
    auto channel = transport.OpenRead("keypad").channel;
    return channel->Receive(report_, timeout_ms);
  }

  ScriptedTransport inner_;
  ConfigReport report_{};
  int repaints_ = 0;
};

TEST_F(RepaintingWait, ASilentKeypadIsWaitedForInSlicesWithARepaintBetweenThem) {
  EXPECT_EQ(Receive(3000), ReceiveStatus::kTimedOut);
  EXPECT_EQ(inner_.asked.size(), 30u);
  EXPECT_EQ(inner_.asked.front(), RepaintingTransport::kSliceMs);
  EXPECT_EQ(repaints_, 29);
  EXPECT_EQ(inner_.clock, TimePoint{} + milliseconds(3000));
}

TEST_F(RepaintingWait, AReplyWithinTheWaitEndsIt) {
  inner_.steps = {{-1, ReceiveStatus::kTimedOut},
                  {-1, ReceiveStatus::kTimedOut},
                  {20, ReceiveStatus::kReceived}};
  EXPECT_EQ(Receive(3000), ReceiveStatus::kReceived);
  EXPECT_EQ(report_[1], 0x55);
  EXPECT_EQ(repaints_, 2);
  EXPECT_EQ(inner_.asked.size(), 3u);
}

TEST_F(RepaintingWait, AnImmediateVerdictOfTheTransportIsPassedOnAsItIs) {
  inner_.steps = {{0, ReceiveStatus::kTimedOut}};
  EXPECT_EQ(Receive(3000), ReceiveStatus::kTimedOut);
  inner_.steps = {{5, ReceiveStatus::kDeviceGone}};
  EXPECT_EQ(Receive(3000), ReceiveStatus::kDeviceGone);
  EXPECT_EQ(inner_.asked.size(), 2u);
  EXPECT_EQ(repaints_, 0);
}

TEST_F(RepaintingWait, AShortWaitIsOneSliceOfItsOwnLength) {
  EXPECT_EQ(Receive(30), ReceiveStatus::kTimedOut);
  EXPECT_EQ(inner_.asked, std::vector<int>{30});
  EXPECT_EQ(repaints_, 0);
}

}  // namespace
}  // namespace qp40
