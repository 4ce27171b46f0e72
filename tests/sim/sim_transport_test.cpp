#include "sim/sim_transport.h"

#include <gtest/gtest.h>

#include <chrono>

#include "sim/deadline_wait.h"

#include "link/link_test_support.h"

namespace qp40::sim {
namespace {

using testing::Filler;
using testing::MakeRequest;

ConfigReport IdentityRequest(std::uint16_t sequence) {
  return MakeRequest(kCmdReadDeviceId, 0, Filler(), 0, 0, sequence);
}

class SimTransportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reader = transport.OpenRead(kSimPath).channel;
    writer = transport.OpenWrite(kSimPath).channel;
    ASSERT_TRUE(reader && writer);
  }

  VirtualKeypad keypad;
  SimTransport transport{keypad};
  std::unique_ptr<ReadChannel> reader;
  std::unique_ptr<WriteChannel> writer;
};

TEST_F(SimTransportTest, ListsTheKeypadAndOpensOnlyItsPath) {
  const auto interfaces = transport.ListInterfaces();
  ASSERT_EQ(interfaces.size(), 1u);
  EXPECT_EQ(interfaces[0].path, kSimPath);
  EXPECT_EQ(interfaces[0].vendor_id, 0x04B4);
  EXPECT_EQ(interfaces[0].product_id, 0x0820);

  const auto read = transport.OpenRead("/dev/hidraw0");
  EXPECT_EQ(read.channel, nullptr);
  EXPECT_EQ(read.error, OpenError::kOther);
  EXPECT_EQ(transport.OpenWrite("").channel, nullptr);
}

TEST_F(SimTransportTest, RepliesQueueUpAndAnEmptyQueueTimesOutAtOnce) {
  ASSERT_EQ(writer->Send(IdentityRequest(1)), SendStatus::kSent);
  ASSERT_EQ(writer->Send(IdentityRequest(2)), SendStatus::kSent);

  ConfigReport report{};
  ASSERT_EQ(reader->Receive(report, kReplyTimeoutMs), ReceiveStatus::kReceived);
  EXPECT_EQ(report[kSequenceLowByte], 1);
  EXPECT_EQ(report[kReportIdByte], 0);
  ASSERT_EQ(reader->Receive(report, kReplyTimeoutMs), ReceiveStatus::kReceived);
  EXPECT_EQ(report[kSequenceLowByte], 2);

  report.fill(0x77);
  EXPECT_EQ(reader->Receive(report, kReplyTimeoutMs), ReceiveStatus::kTimedOut);
  EXPECT_EQ(report[kSequenceLowByte], 0x77);
}

TEST_F(SimTransportTest, LateReplyArrivesOnceTheReadHasTimedOut) {
  keypad.AddFault({FaultKind::kLate, 1});
  ASSERT_EQ(writer->Send(IdentityRequest(1)), SendStatus::kSent);
  EXPECT_EQ(transport.PendingCount(), 0u);

  ConfigReport report{};
  EXPECT_EQ(reader->Receive(report, kReplyTimeoutMs), ReceiveStatus::kTimedOut);
  EXPECT_EQ(transport.PendingCount(), 1u);

  // Either it is read next, or dropped before the next request.
  EXPECT_EQ(reader->Receive(report, kReplyTimeoutMs), ReceiveStatus::kReceived);
  EXPECT_EQ(report[kSequenceLowByte], 1);

  keypad.AddFault({FaultKind::kLate, 2});
  writer->Send(IdentityRequest(2));
  reader->Receive(report, kReplyTimeoutMs);
  EXPECT_EQ(reader->DiscardPending(), 1);
  EXPECT_EQ(reader->DiscardPending(), 0);
  EXPECT_EQ(reader->Receive(report, kReplyTimeoutMs), ReceiveStatus::kTimedOut);
}

TEST_F(SimTransportTest, GoneKeypadFailsEverythingAtOnce) {
  writer->Send(IdentityRequest(1));
  keypad.AddFault({FaultKind::kGone, 2});

  EXPECT_EQ(writer->Send(IdentityRequest(2)), SendStatus::kDeviceGone);
  ConfigReport report{};
  // The reply that was waiting went with the device.
  EXPECT_EQ(reader->Receive(report, kReplyTimeoutMs), ReceiveStatus::kDeviceGone);
  EXPECT_EQ(writer->Send(IdentityRequest(3)), SendStatus::kDeviceGone);
  EXPECT_TRUE(transport.ListInterfaces().empty());
  EXPECT_EQ(transport.OpenRead(kSimPath).channel, nullptr);
  EXPECT_EQ(keypad.RequestCount(), 2u);
}

TEST_F(SimTransportTest, ReplyArrivesNoSoonerThanOneLatencyAfterItsRequest) {
  using Clock = std::chrono::steady_clock;
  keypad.SetLatencyMicroseconds(3000);
  const Clock::time_point sent = Clock::now();
  ASSERT_EQ(writer->Send(IdentityRequest(1)), SendStatus::kSent);
  ASSERT_EQ(writer->Send(IdentityRequest(2)), SendStatus::kSent);

  ConfigReport report{};
  ASSERT_EQ(reader->Receive(report, kReplyTimeoutMs), ReceiveStatus::kReceived);
  EXPECT_GE(Clock::now() - sent, std::chrono::microseconds(3000));
  EXPECT_EQ(report[kSequenceLowByte], 1);
  // Both were on their way at once: the second is due about when the first was.
  ASSERT_EQ(reader->Receive(report, kReplyTimeoutMs), ReceiveStatus::kReceived);
  EXPECT_EQ(report[kSequenceLowByte], 2);
}

TEST(DeadlineWaitTest, ReturnsOnlyOnceTheDeadlineHasPassed) {
  using Clock = std::chrono::steady_clock;
  // One deadline inside the spin margin, one beyond it, one already past.
  for (const auto ahead :
       {std::chrono::microseconds(100), kSpinMargin * 3, std::chrono::microseconds(-1000)}) {
    const Clock::time_point deadline = Clock::now() + ahead;
    WaitUntil(deadline);
    EXPECT_GE(Clock::now(), deadline) << ahead.count() << " us";
  }
}

}  // namespace
}  // namespace qp40::sim
