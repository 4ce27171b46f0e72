#include "sim/virtual_keypad.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "link/link_test_support.h"
#include "sim/factory_image.h"

namespace qp40::sim {
namespace {

using testing::Filler;
using testing::MakeRequest;
using testing::PagePattern;
using testing::Payload;

ConfigReport ReadPage(std::uint8_t block, std::uint8_t page, std::uint16_t sequence = 0x1234) {
  return MakeRequest(kCmdReadPage, block, Payload{}, page, kLastPageField, sequence);
}

Payload PayloadOf(const ConfigReport& reply) {
  Payload payload;
  std::copy_n(reply.begin() + kPayloadByte, kPayloadSize, payload.begin());
  return payload;
}

TEST(VirtualKeypadTest, ReplyCarriesStatusEchoAndThePage) {
  VirtualKeypad keypad;
  const auto block = keypad.BlockData(0x30);
  std::copy_n(PagePattern(0x30, 63).begin(), kPageSize, block.begin() + 63 * kPageSize);

  const auto reply = keypad.HandleRequest(ReadPage(0x30, 63, 0xBEEF));

  ASSERT_TRUE(reply);
  EXPECT_EQ((*reply)[kStatusByte], kStatusAccepted);
  EXPECT_EQ((*reply)[kSequenceHighByte], 0xBE);
  EXPECT_EQ((*reply)[kSequenceLowByte], 0xEF);
  EXPECT_EQ(PayloadOf(*reply), PagePattern(0x30, 63));
  EXPECT_EQ(keypad.RequestCount(), 1u);
  EXPECT_EQ(keypad.Requests().back(), ReadPage(0x30, 63, 0xBEEF));
}

TEST(VirtualKeypadTest, WritesNeedAPreparedBlockAsInFlash) {
  VirtualKeypad keypad;
  const std::uint8_t block = 0x1C;
  const Payload data = PagePattern(block, 2);

  // Unprepared: programming only clears bits of what is there.
  Payload merged = PayloadOf(*keypad.HandleRequest(ReadPage(block, 2)));
  for (std::size_t i = 0; i < kPageSize; ++i) {
    merged[i] &= data[i];
  }
  ASSERT_NE(merged, data);
  keypad.HandleRequest(MakeRequest(kCmdWritePage, block, data, 2, kLastPageField, 0));
  EXPECT_EQ(PayloadOf(*keypad.HandleRequest(ReadPage(block, 2))), merged);

  keypad.HandleRequest(MakeRequest(kCmdPrepareBlock, block, Filler(), 0, 0, 0));
  EXPECT_TRUE(std::all_of(keypad.BlockData(block).begin(), keypad.BlockData(block).end(),
                          [](std::uint8_t b) { return b == 0xFF; }));
  keypad.HandleRequest(MakeRequest(kCmdWritePage, block, data, 2, kLastPageField, 0));
  EXPECT_EQ(PayloadOf(*keypad.HandleRequest(ReadPage(block, 2))), data);
  EXPECT_EQ(keypad.BlockData(block)[2 * kPageSize - 1], 0xFF);
  EXPECT_EQ(keypad.BlockData(block)[3 * kPageSize], 0xFF);
}

TEST(VirtualKeypadTest, IdentityRebootAndFactoryRestore) {
  VirtualKeypad keypad;
  const auto identity = keypad.HandleRequest(MakeRequest(kCmdReadDeviceId, 0, Filler(), 0, 0, 5));
  ASSERT_TRUE(identity);
  EXPECT_TRUE(std::equal(kFactoryIdentity.begin(), kFactoryIdentity.end(),
                         identity->begin() + kPayloadByte));
  EXPECT_EQ((*identity)[kPayloadByte + kDeviceIdErrorByte], 0);

  EXPECT_FALSE(keypad.HandleRequest(MakeRequest(kCmdReboot, 0, Filler(), 0, 0, 6)));
  EXPECT_EQ(keypad.RebootCount(), 1);

  std::vector<std::uint8_t> factory(keypad.BlockData(0x1C).begin(), keypad.BlockData(0x1C).end());
  keypad.HandleRequest(MakeRequest(kCmdPrepareBlock, 0x1C, Filler(), 0, 0, 6));
  const auto restored = keypad.HandleRequest(MakeRequest(kCmdRestoreFactory, 0, Filler(), 0, 0, 7));
  ASSERT_TRUE(restored);
  EXPECT_EQ((*restored)[kStatusByte], kStatusAccepted);
  EXPECT_TRUE(std::equal(factory.begin(), factory.end(), keypad.BlockData(0x1C).begin()));
  EXPECT_EQ(keypad.FactoryRestoreCount(), 1);
}

TEST(VirtualKeypadTest, RefusesMalformedRequestsWithoutChangingMemory) {
  struct Case {
    const char* name;
    ConfigReport request;
  };
  ConfigReport bad_lead = MakeRequest(kCmdPrepareBlock, 0x10, Filler(), 0, 0, 0);
  bad_lead[kLeadByte] = 0x00;
  const std::vector<Case> cases = {
      {"bad lead byte", bad_lead},
      {"unknown command", MakeRequest(0x90, 0x10, Filler(), 0, 0, 0)},
      {"block 128", MakeRequest(kCmdPrepareBlock, 0x80, Filler(), 0, 0, 0)},
      {"block 255 write", MakeRequest(kCmdWritePage, 0xFF, Payload{}, 0, kLastPageField, 0)},
      {"page 64", MakeRequest(kCmdWritePage, 0x10, Payload{}, 64, kLastPageField, 0)},
      {"page 255 read", ReadPage(0x10, 255)},
  };
  VirtualKeypad keypad;
  VirtualKeypad untouched;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto reply = keypad.HandleRequest(c.request);
    ASSERT_TRUE(reply);
    EXPECT_EQ((*reply)[kStatusByte], kStatusRefused);
    EXPECT_EQ((*reply)[kSequenceLowByte], c.request[kSequenceLowByte]);
  }
  for (std::uint8_t block = 0; block < kBlockCount; ++block) {
    ASSERT_TRUE(std::ranges::equal(keypad.BlockData(block), untouched.BlockData(block)));
  }
  EXPECT_THROW(keypad.BlockData(128), std::out_of_range);
}

TEST(VirtualKeypadTest, FaultsHitTheNthRequest) {
  struct Case {
    FaultKind kind;
    bool replies_at_once;
    std::uint8_t status;
    bool echo_matches;
    bool late_reply;
    bool gone;
  };
  const std::vector<Case> cases = {
      {FaultKind::kDrop, false, 0, false, false, false},
      {FaultKind::kStatus, true, kStatusRefused, true, false, false},
      {FaultKind::kEcho, true, kStatusAccepted, false, false, false},
      {FaultKind::kLate, false, 0, false, true, false},
      {FaultKind::kGone, false, 0, false, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.kind));
    VirtualKeypad keypad;
    keypad.AddFault({c.kind, 2});
    ASSERT_TRUE(keypad.HandleRequest(ReadPage(0x1C, 0, 1)));

    const auto reply = keypad.HandleRequest(ReadPage(0x1C, 1, 2));

    ASSERT_EQ(reply.has_value(), c.replies_at_once);
    if (reply) {
      EXPECT_EQ((*reply)[kStatusByte], c.status);
      EXPECT_EQ((*reply)[kSequenceLowByte] == 2, c.echo_matches);
    }
    const auto late = keypad.TakeLateReply();
    ASSERT_EQ(late.has_value(), c.late_reply);
    if (late) {
      EXPECT_EQ((*late)[kSequenceLowByte], 2);
      EXPECT_EQ(PayloadOf(*late), PayloadOf(*keypad.HandleRequest(ReadPage(0x1C, 1, 3))));
    }
    EXPECT_EQ(keypad.Gone(), c.gone);
    // The fault is for request 2 alone; a gone keypad stays gone.
    EXPECT_EQ(keypad.HandleRequest(ReadPage(0x1C, 2, 9)).has_value(), !c.gone);
  }
}

TEST(VirtualKeypadTest, RefusedWriteLeavesThePage) {
  VirtualKeypad keypad;
  keypad.AddFault({FaultKind::kStatus, 2});
  keypad.HandleRequest(MakeRequest(kCmdPrepareBlock, 0x50, Filler(), 0, 0, 0));

  keypad.HandleRequest(MakeRequest(kCmdWritePage, 0x50, Payload{}, 0, kLastPageField, 1));

  EXPECT_EQ(keypad.BlockData(0x50)[0], 0xFF);
}

TEST(VirtualKeypadTest, FlipFaultAcknowledgesTheWriteButStoresOneBitWrong) {
  VirtualKeypad keypad;
  keypad.AddFault({FaultKind::kFlip, 3});
  keypad.HandleRequest(MakeRequest(kCmdPrepareBlock, 0x50, Filler(), 0, 0, 0));
  const Payload data = PagePattern(0x50, 4);
  const auto clean =
      keypad.HandleRequest(MakeRequest(kCmdWritePage, 0x50, data, 3, kLastPageField, 1));
  const auto flipped =
      keypad.HandleRequest(MakeRequest(kCmdWritePage, 0x50, data, 4, kLastPageField, 2));

  ASSERT_TRUE(clean && flipped);
  EXPECT_EQ((*flipped)[kStatusByte], kStatusAccepted);
  EXPECT_EQ(PayloadOf(*keypad.HandleRequest(ReadPage(0x50, 3))), data);
  Payload expected = data;
  expected[0] ^= 0x01;
  EXPECT_EQ(PayloadOf(*keypad.HandleRequest(ReadPage(0x50, 4))), expected);
}

}  // namespace
}  // namespace qp40::sim
