#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "link/keypad_link.h"
#include "link_test_support.h"
#include "sim/sim_transport.h"
#include "sim/virtual_keypad.h"

namespace qp40::testing {
namespace {

using sim::FaultKind;
using Texts = std::vector<std::string>;

constexpr std::uint8_t kBlock = 0x1C;

bool PageEquals(std::span<const std::uint8_t, kBlockSize> a,
                std::span<const std::uint8_t, kBlockSize> b, std::size_t page) {
  return std::equal(a.begin() + page * kPageSize, a.begin() + (page + 1) * kPageSize,
                    b.begin() + page * kPageSize);
}

// Whole operations of the link against the virtual keypad, through the in-process transport.
class VirtualKeypadLinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Give every page of the block its own bytes, so a page landing in the wrong place shows.
    const auto data = keypad.BlockData(kBlock);
    for (std::size_t i = 0; i < kBlockSize; ++i) {
      data[i] = static_cast<std::uint8_t>(i / kPageSize * 5 + i);
    }
    ASSERT_TRUE(link.AttachKeypad());
    capture.sink.lines.clear();
  }

  // Faults on requests first..last of the keypad (1-based).
  void AddFaults(FaultKind kind, std::uint64_t first, std::uint64_t last) {
    for (std::uint64_t n = first; n <= last; ++n) {
      keypad.AddFault({kind, n});
    }
  }

  sim::VirtualKeypad keypad;
  sim::SimTransport transport{keypad};
  LogCapture capture;
  KeypadLink link{transport, capture.log, capture.notifier};
};

TEST_F(VirtualKeypadLinkTest, ReadBlockSkipsAPageThatFailsThreeTimes) {
  // Pages 0..4 take requests 1..5; the three tries of page 5 are requests 6..8.
  AddFaults(FaultKind::kDrop, 6, 8);
  Block destination;
  destination.fill(0xEE);

  EXPECT_EQ(link.ReadBlock(kBlock, destination), 1);

  EXPECT_EQ(capture.sink.lines, (Texts{">> Tx ERROR: 3", "ERROR: READ Device "}));
  for (std::size_t page = 0; page < kPagesPerBlock; ++page) {
    if (page != 5) {
      EXPECT_TRUE(PageEquals(destination, keypad.BlockData(kBlock), page)) << "page " << page;
    }
  }
  EXPECT_TRUE(std::all_of(destination.begin() + 5 * kPageSize, destination.begin() + 6 * kPageSize,
                          [](std::uint8_t b) { return b == 0xEE; }));
  EXPECT_EQ(keypad.RequestCount(), 66u);
}

TEST_F(VirtualKeypadLinkTest, LateReplyToAFailedPageIsNotTakenForTheNextPage) {
  // Page 5: two tries dropped, the third answered only after the tool stopped waiting. That
  // reply carries the sequence number page 6 is sent with.
  AddFaults(FaultKind::kDrop, 6, 7);
  keypad.AddFault({FaultKind::kLate, 8});
  Block destination{};

  EXPECT_EQ(link.ReadBlock(kBlock, destination), 1);

  for (std::size_t page = 0; page < kPagesPerBlock; ++page) {
    if (page != 5) {
      EXPECT_TRUE(PageEquals(destination, keypad.BlockData(kBlock), page)) << "page " << page;
    }
  }
  // Only page 5's three tries failed: the late reply cost page 6 nothing.
  EXPECT_EQ(link.TxErrorCount(), 3);
  EXPECT_EQ(capture.sink.lines, (Texts{">> Tx ERROR: 3", "ERROR: READ Device "}));
}

TEST_F(VirtualKeypadLinkTest, LateReplyIsWaitingWhenTheNextRequestGoesOut) {
  // The situation the link guards against: after the failed exchange, a reply that matches the
  // next request's sequence number sits in the read queue.
  AddFaults(FaultKind::kDrop, 1, 2);
  keypad.AddFault({FaultKind::kLate, 3});
  link.Request()[kCommandByte] = kCmdReadDeviceId;

  EXPECT_FALSE(link.ExchangeReport());
  EXPECT_EQ(transport.PendingCount(), 1u);

  EXPECT_TRUE(link.ReadDeviceId());
  EXPECT_EQ(link.GetDeviceId(), keypad.Identity());
  EXPECT_EQ(transport.PendingCount(), 0u);
}

TEST_F(VirtualKeypadLinkTest, KeypadThatNeverAnswersEndsEveryExchangeAfterThreeTries) {
  AddFaults(FaultKind::kDrop, 1, 3 * kPagesPerBlock);
  Block destination{};

  EXPECT_EQ(link.ReadBlock(kBlock, destination), 64);

  EXPECT_EQ(capture.sink.Count("ERROR: READ Device "), 64);
  EXPECT_EQ(capture.sink.lines.back(), "ERROR: READ Device ");
  EXPECT_EQ(link.TxErrorCount(), 192);
  EXPECT_EQ(keypad.RequestCount(), 192u);

  // The keypad answers again: the next command goes through with the unused sequence number.
  capture.sink.lines.clear();
  EXPECT_TRUE(link.ReadDeviceId());
  EXPECT_EQ(link.GetDeviceId(), keypad.Identity());
  EXPECT_EQ(keypad.Requests().back()[kSequenceLowByte], 0);
  EXPECT_EQ(capture.sink.lines.size(), 1u);
}

TEST_F(VirtualKeypadLinkTest, VanishedKeypadStopsTheBlockAtTheFirstGoneAnswer) {
  keypad.AddFault({FaultKind::kGone, 3});
  Block destination{};

  EXPECT_EQ(link.ReadBlock(kBlock, destination), 62);

  EXPECT_EQ(keypad.RequestCount(), 3u);
  EXPECT_EQ(capture.sink.Count("ERROR: READ Device "), 1);
  EXPECT_EQ(link.TxErrorCount(), 1);
  EXPECT_TRUE(link.DeviceGone());
  EXPECT_TRUE(PageEquals(destination, keypad.BlockData(kBlock), 1));
  // Nothing more goes out for the other blocks either.
  EXPECT_EQ(link.WriteBlock(kBlock, destination), 64);
  EXPECT_EQ(keypad.RequestCount(), 3u);

  // It is no longer listed either.
  link.CloseKeypad();
  EXPECT_FALSE(link.AttachKeypad());
}

TEST_F(VirtualKeypadLinkTest, PreparedBlockWrittenAndReadBackIsUnchanged) {
  Block source;
  for (std::size_t i = 0; i < kBlockSize; ++i) {
    source[i] = static_cast<std::uint8_t>(i * 31 + 7);
  }
  const std::uint8_t block = 0x41;

  EXPECT_TRUE(link.PrepareBlock(block));
  EXPECT_EQ(link.WriteBlock(block, source), 0);
  Block read_back{};
  EXPECT_EQ(link.ReadBlock(block, read_back), 0);

  EXPECT_EQ(read_back, source);
  EXPECT_TRUE(capture.sink.lines.empty());
  EXPECT_EQ(link.SequenceNumber(), 1 + 64 + 64);
}

TEST_F(VirtualKeypadLinkTest, RebootAndFactoryRestoreReachTheKeypad) {
  keypad.BlockData(0x20)[0] = 0xAA;

  EXPECT_TRUE(link.RestoreFactorySettings());
  EXPECT_TRUE(link.RebootDevice());

  EXPECT_EQ(keypad.FactoryRestoreCount(), 1);
  EXPECT_EQ(keypad.RebootCount(), 1);
  EXPECT_EQ(keypad.BlockData(0x20)[0], 0x00);
  EXPECT_EQ(transport.PendingCount(), 0u);
  EXPECT_TRUE(capture.sink.lines.empty());
}

TEST_F(VirtualKeypadLinkTest, CloseAndRebootEndsTheConfigurationAndTellsTheUser) {
  link.SetConnected(true);

  EXPECT_TRUE(link.CloseAndReboot());

  EXPECT_EQ(keypad.RebootCount(), 1);
  EXPECT_EQ(keypad.RequestCount(), 1u);
  EXPECT_FALSE(link.IsOpen());
  EXPECT_FALSE(link.Connected());
  EXPECT_EQ(capture.notifier.messages, Texts{"End configuration, please reboot keyboard. "});
  EXPECT_TRUE(capture.sink.lines.empty());
}

}  // namespace
}  // namespace qp40::testing
