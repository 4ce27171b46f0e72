#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "link/keypad_link.h"
#include "link_test_support.h"
#include "scripted_transport.h"

namespace qp40::testing {
namespace {

using Texts = std::vector<std::string>;

class CommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(link.AttachKeypad());
    capture.sink.lines.clear();
    link.SetPageObserver([this] { ++pages_seen; });
  }

  // Scripts one exchange that succeeds at the first try.
  void ExpectExchange(const ConfigReport& request, const Payload& reply_payload = {}) {
    const std::uint16_t sequence = next_sequence++;
    ConfigReport sent = request;
    sent[kSequenceHighByte] = static_cast<std::uint8_t>(sequence >> 8);
    sent[kSequenceLowByte] = static_cast<std::uint8_t>(sequence);
    transport.ExpectSend(sent).Reply(MakeReply(sequence, reply_payload));
  }

  // Scripts one exchange whose three tries all time out.
  void ExpectFailedExchange(const ConfigReport& request) {
    ConfigReport sent = request;
    sent[kSequenceHighByte] = static_cast<std::uint8_t>(next_sequence >> 8);
    sent[kSequenceLowByte] = static_cast<std::uint8_t>(next_sequence);
    for (int i = 0; i < 3; ++i) {
      transport.ExpectSend(sent).TimeOut();
    }
  }

  ScriptedTransport transport;
  LogCapture capture;
  KeypadLink link{transport, capture.log, capture.notifier};
  std::uint16_t next_sequence = 0;
  int pages_seen = 0;
};

TEST_F(CommandsTest, CommandsWithoutPagesSendTheFiller) {
  struct Case {
    const char* name;
    std::function<bool(KeypadLink&)> run;
    std::uint8_t command;
    std::uint8_t argument;
  };
  const std::vector<Case> cases = {
      {"prepare", [](KeypadLink& l) { return l.PrepareBlock(0x41); }, kCmdPrepareBlock, 0x41},
      {"restore factory", [](KeypadLink& l) { return l.RestoreFactorySettings(); },
       kCmdRestoreFactory, 0},
      {"identity", [](KeypadLink& l) { return l.ReadDeviceId(); }, kCmdReadDeviceId, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // Page fields left over from a page request must be cleared.
    link.Request()[kPageIndexByte] = 0x3F;
    link.Request()[kPageFieldByte] = 0x3F;
    ExpectExchange(MakeRequest(c.command, c.argument, Filler(), 0, 0, 0));
    EXPECT_TRUE(c.run(link));
  }

  // Reboot: filler too, no reply awaited, sequence number not advanced.
  transport.ExpectSend(MakeRequest(kCmdReboot, 0, Filler(), 0, 0, next_sequence));
  EXPECT_TRUE(link.RebootDevice());
  EXPECT_EQ(link.SequenceNumber(), next_sequence);
  EXPECT_EQ(pages_seen, 0);
}

TEST_F(CommandsTest, ReadBlockSendsPages0To63AndKeepsThePreviousPayload) {
  // The identity request leaves the filler in the payload; page requests do not change it.
  ExpectExchange(MakeRequest(kCmdReadDeviceId, 0, Filler(), 0, 0, 0));
  ASSERT_TRUE(link.ReadDeviceId());
  for (std::uint8_t page = 0; page < kPagesPerBlock; ++page) {
    ExpectExchange(MakeRequest(kCmdReadPage, 0x20, Filler(), page, 0x3F, 0),
                   PagePattern(0x20, page));
  }
  Block destination{};

  EXPECT_EQ(link.ReadBlock(0x20, destination), 0);

  for (std::size_t page = 0; page < kPagesPerBlock; ++page) {
    const Payload expected = PagePattern(0x20, page);
    ASSERT_TRUE(
        std::equal(expected.begin(), expected.end(), destination.begin() + page * kPageSize))
        << "page " << page;
  }
  EXPECT_EQ(pages_seen, 64);
}

TEST_F(CommandsTest, FailedReadPageKeepsTheDestinationBytes) {
  for (std::uint8_t page = 0; page < kPagesPerBlock; ++page) {
    if (page == 0 || page == 63) {
      ExpectFailedExchange(MakeRequest(kCmdReadPage, 0x1C, Payload{}, page, 0x3F, 0));
    } else {
      ExpectExchange(MakeRequest(kCmdReadPage, 0x1C, Payload{}, page, 0x3F, 0),
                     PagePattern(0x1C, page));
    }
  }
  Block destination;
  destination.fill(0xEE);

  EXPECT_EQ(link.ReadBlock(0x1C, destination), 2);

  for (const std::size_t page : {std::size_t{0}, std::size_t{63}}) {
    EXPECT_TRUE(std::all_of(destination.begin() + page * kPageSize,
                            destination.begin() + (page + 1) * kPageSize,
                            [](std::uint8_t b) { return b == 0xEE; }))
        << "page " << page;
  }
  EXPECT_EQ(destination[kPageSize], PagePattern(0x1C, 1)[0]);
  EXPECT_EQ(capture.sink.lines, (Texts{">> Tx ERROR: 3", "ERROR: READ Device ", ">> Tx ERROR: 6",
                                       "ERROR: READ Device "}));
  EXPECT_EQ(pages_seen, 64);
}

TEST_F(CommandsTest, WriteBlockSendsEveryPageAndLogsEachFailedOne) {
  Block source;
  for (std::size_t i = 0; i < kBlockSize; ++i) {
    source[i] = static_cast<std::uint8_t>(i * 13 + i / 256);
  }
  for (std::uint8_t page = 0; page < kPagesPerBlock; ++page) {
    Payload data;
    std::copy_n(source.begin() + page * kPageSize, kPageSize, data.begin());
    const ConfigReport request = MakeRequest(kCmdWritePage, 0x41, data, page, 0x3F, 0);
    if (page == 10 || page == 11) {
      ExpectFailedExchange(request);
    } else {
      ExpectExchange(request);
    }
  }

  EXPECT_EQ(link.WriteBlock(0x41, source), 2);

  EXPECT_EQ(capture.sink.Count("ERROR:WRITE Device "), 2);
  EXPECT_EQ(capture.sink.lines.back(), "ERROR:WRITE Device ");
  EXPECT_EQ(pages_seen, 64);
}

TEST_F(CommandsTest, IdentityIsLoggedAndByte13ReportedAsAnError) {
  struct Case {
    const char* name;
    Payload identity;
    Texts lines;
  };
  Payload counting{};
  for (std::size_t i = 0; i < kDeviceIdSize; ++i) {
    counting[i] = static_cast<std::uint8_t>(0xF0 + i);
  }
  counting[13] = 0x0A;
  counting[20] = 0x99;  // beyond the identity: not taken
  const std::vector<Case> cases = {
      {"all zero", Payload{}, {"<< DeviceID: 00.00.00.00.00.00.00.00.00.00.00.00.00.00.00.00."}},
      {"byte 13 set",
       counting,
       {"<< DeviceID: f0.f1.f2.f3.f4.f5.f6.f7.f8.f9.fa.fb.fc.0a.fe.ff.", ">> ERROR: DeviceID 0xa"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    capture.sink.lines.clear();
    ExpectExchange(MakeRequest(kCmdReadDeviceId, 0, Filler(), 0, 0, 0), c.identity);

    EXPECT_TRUE(link.ReadDeviceId());

    EXPECT_EQ(capture.sink.lines, c.lines);
    EXPECT_TRUE(
        std::equal(link.GetDeviceId().begin(), link.GetDeviceId().end(), c.identity.begin()));
  }
}

TEST_F(CommandsTest, FailedIdentityReadLeavesTheIdentityZero) {
  ExpectExchange(MakeRequest(kCmdReadDeviceId, 0, Filler(), 0, 0, 0), PagePattern(1, 1));
  ASSERT_TRUE(link.ReadDeviceId());
  capture.sink.lines.clear();
  // The reply buffer still holds the last identity; it must not be shown again as the answer.
  ExpectFailedExchange(MakeRequest(kCmdReadDeviceId, 0, Filler(), 0, 0, 0));

  EXPECT_FALSE(link.ReadDeviceId());

  EXPECT_EQ(capture.sink.lines, (Texts{">> Tx ERROR: 3"}));
  EXPECT_EQ(link.GetDeviceId(), DeviceId{});
}

}  // namespace
}  // namespace qp40::testing
