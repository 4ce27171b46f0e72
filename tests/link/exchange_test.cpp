#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/keypad_link.h"
#include "link_test_support.h"
#include "scripted_transport.h"

namespace qp40::testing {
namespace {

constexpr std::uint8_t kBlock = 0x1C;

// An open link on a scripted transport, with the lines of the attach cleared.
class ExchangeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(link.AttachKeypad());
    capture.sink.lines.clear();
    transport.trace.clear();
  }

  // Sets the caller's bytes of a page read; the exchange adds the rest.
  void PrepareReadRequest(std::uint8_t page) {
    ConfigReport& request = link.Request();
    request[kCommandByte] = kCmdReadPage;
    request[kArgumentByte] = kBlock;
    request[kPageIndexByte] = page;
    request[kPageFieldByte] = kLastPageField;
  }

  ConfigReport ReadRequest(std::uint8_t page, std::uint16_t sequence) {
    return MakeRequest(kCmdReadPage, kBlock, Payload{}, page, kLastPageField, sequence);
  }

  ScriptedTransport transport;
  LogCapture capture;
  KeypadLink link{transport, capture.log, capture.notifier};
};

TEST_F(ExchangeTest, SetsHeaderAndSequenceBytesAndAcceptsAMatchingReply) {
  PrepareReadRequest(7);
  link.Request()[kLeadByte] = 0x11;  // overwritten by the exchange
  const ConfigReport reply = MakeReply(0, PagePattern(kBlock, 7));
  transport.ExpectSend(ReadRequest(7, 0)).Reply(reply);

  EXPECT_TRUE(link.ExchangeReport());
  EXPECT_EQ(Hex(link.Reply()), Hex(reply));
  EXPECT_EQ(link.SequenceNumber(), 1);
  EXPECT_EQ(link.TxErrorCount(), 0);
  EXPECT_TRUE(capture.sink.lines.empty());
  // Whatever waits from before is dropped ahead of the request, never between it and its reply.
  EXPECT_EQ(transport.trace, (std::vector<std::string>{"discard", "send", "receive"}));
}

// Only reply bytes 1 and 40 decide; a rejected try resends the same request.
TEST_F(ExchangeTest, VerdictRestsOnStatusAndSequenceLowByte) {
  struct Case {
    const char* name;
    std::uint8_t status;
    std::uint8_t low_echo_change;   // added to the correct low echo
    std::uint8_t high_echo_change;  // added to the correct high echo
    bool first_accepted;
  };
  const std::vector<Case> cases = {
      {"wrong status", 0x54, 0, 0, false},
      {"status 0, as in an empty report", 0x00, 0, 0, false},
      {"wrong low echo", kStatusAccepted, 1, 0, false},
      {"high echo differs", kStatusAccepted, 0, 0x77, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::uint16_t sequence = link.SequenceNumber();
    const std::uint16_t errors = link.TxErrorCount();
    ConfigReport first_reply = MakeReply(sequence, {}, c.status);
    first_reply[kSequenceLowByte] += c.low_echo_change;
    first_reply[kSequenceHighByte] += c.high_echo_change;
    PrepareReadRequest(0);
    transport.ExpectSend(ReadRequest(0, sequence)).Reply(first_reply);
    if (!c.first_accepted) {
      transport.ExpectSend(ReadRequest(0, sequence)).Reply(MakeReply(sequence));
    }

    EXPECT_TRUE(link.ExchangeReport());
    EXPECT_EQ(link.SequenceNumber(), sequence + 1);
    EXPECT_EQ(link.TxErrorCount(), errors + (c.first_accepted ? 0 : 1));
  }
  EXPECT_TRUE(capture.sink.lines.empty());
}

TEST_F(ExchangeTest, ThreeFailedTriesLogTheCumulativeErrorCount) {
  // First exchange: three time-outs.
  PrepareReadRequest(0);
  for (int i = 0; i < 3; ++i) {
    transport.ExpectSend(ReadRequest(0, 0)).TimeOut();
  }
  EXPECT_FALSE(link.ExchangeReport());
  EXPECT_EQ(capture.sink.lines, (std::vector<std::string>{">> Tx ERROR: 3"}));
  EXPECT_EQ(link.SequenceNumber(), 0);

  // A failed try inside an exchange that then succeeds still counts; the failed exchange's
  // sequence number is used again.
  transport.ExpectSend(ReadRequest(0, 0)).Reply(MakeReply(0, {}, 0x00));
  transport.ExpectSend(ReadRequest(0, 0)).Reply(MakeReply(0));
  EXPECT_TRUE(link.ExchangeReport());

  // Second complete failure, each try failing another way.
  transport.ExpectSend(ReadRequest(0, 1)).TimeOut();
  transport.ExpectSend(ReadRequest(0, 1)).Reply(MakeReply(2));
  transport.ExpectSend(ReadRequest(0, 1)).Reply(MakeReply(1, {}, 0xAA));
  EXPECT_FALSE(link.ExchangeReport());

  EXPECT_EQ(capture.sink.lines, (std::vector<std::string>{">> Tx ERROR: 3", ">> Tx ERROR: 7"}));
  EXPECT_EQ(link.TxErrorCount(), 7);
  EXPECT_EQ(link.FailedExchangeCount(), 2);
  EXPECT_EQ(link.SequenceNumber(), 1);
}

TEST_F(ExchangeTest, SequenceNumberWrapsAfter65536Exchanges) {
  PrepareReadRequest(0);
  for (std::uint32_t n = 0; n < 65536; ++n) {
    const auto sequence = static_cast<std::uint16_t>(n);
    transport.ExpectSend(ReadRequest(0, sequence)).Reply(MakeReply(sequence));
  }
  transport.ExpectSend(ReadRequest(0, 0)).Reply(MakeReply(0));

  for (std::uint32_t n = 0; n <= 65536; ++n) {
    ASSERT_TRUE(link.ExchangeReport()) << n;
  }
  EXPECT_EQ(link.SequenceNumber(), 1);
}

TEST_F(ExchangeTest, RebootReturnsAtOnceAndLeavesTheSequenceNumber) {
  // Advance the sequence first so the reboot request carries a number other than 0.
  PrepareReadRequest(0);
  transport.ExpectSend(ReadRequest(0, 0)).Reply(MakeReply(0));
  ASSERT_TRUE(link.ExchangeReport());

  link.Request()[kCommandByte] = kCmdReboot;
  link.Request()[kArgumentByte] = 0;
  link.Request()[kPageIndexByte] = 0;
  link.Request()[kPageFieldByte] = 0;
  // No receive is scripted: a read after the reboot request fails the test.
  transport.ExpectSend(MakeRequest(kCmdReboot, 0, Payload{}, 0, 0, 1));
  EXPECT_TRUE(link.ExchangeReport());

  // Even a reboot whose request does not go out counts as done.
  transport.ExpectSend(MakeRequest(kCmdReboot, 0, Payload{}, 0, 0, 1), SendStatus::kDeviceGone);
  EXPECT_TRUE(link.ExchangeReport());

  PrepareReadRequest(0);
  transport.ExpectSend(ReadRequest(0, 1)).Reply(MakeReply(1));
  EXPECT_TRUE(link.ExchangeReport());
  EXPECT_EQ(link.TxErrorCount(), 0);
}

TEST_F(ExchangeTest, VanishedDeviceEndsTheExchangeAndEveryLaterOneUntilReopened) {
  for (const bool on_send : {true, false}) {
    SCOPED_TRACE(on_send ? "gone on send" : "gone on receive");
    capture.sink.lines.clear();
    const std::uint16_t errors = link.TxErrorCount();
    // One try only: a second would find no scripted step.
    PrepareReadRequest(0);
    if (on_send) {
      transport.ExpectSend(ReadRequest(0, 0), SendStatus::kDeviceGone);
    } else {
      transport.ExpectSend(ReadRequest(0, 0)).VanishOnReceive();
    }
    EXPECT_FALSE(link.ExchangeReport());
    EXPECT_TRUE(link.DeviceGone());
    EXPECT_FALSE(link.IsOpen());
    EXPECT_EQ(link.TxErrorCount(), errors + 1);

    // Later exchanges reach nothing and log nothing more; a reboot still counts as done.
    EXPECT_FALSE(link.ExchangeReport());
    link.Request()[kCommandByte] = kCmdReboot;
    EXPECT_TRUE(link.ExchangeReport());
    EXPECT_EQ(capture.sink.lines,
              (std::vector<std::string>{">> Tx ERROR: " + std::to_string(errors + 1)}));
    EXPECT_EQ(link.SequenceNumber(), 0);

    // A keypad opened again is no longer gone.
    ASSERT_EQ(link.OpenKeypad("keypad"), OpenError::kNone);
    EXPECT_FALSE(link.DeviceGone());
  }
}

TEST(ExchangeWithoutKeypadTest, FailsThreeTriesWithoutTouchingATransport) {
  ScriptedTransport transport;
  LogCapture capture;
  KeypadLink link(transport, capture.log, capture.notifier);

  link.Request()[kCommandByte] = kCmdReadDeviceId;
  EXPECT_FALSE(link.ExchangeReport());
  link.Request()[kCommandByte] = kCmdReboot;
  EXPECT_TRUE(link.ExchangeReport());

  EXPECT_EQ(capture.sink.lines, (std::vector<std::string>{">> Tx ERROR: 3"}));
  EXPECT_TRUE(transport.trace.empty());
}

}  // namespace
}  // namespace qp40::testing
