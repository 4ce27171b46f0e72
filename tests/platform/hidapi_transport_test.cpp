// HidapiTransport and its channels against a stand-in for the hidapi library (fake_hidapi.c),
// with the virtual keypad behind the pretend interfaces: what the library is handed, and what
// the backend makes of what the library returns.
#include "platform/hidapi_transport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <string>
#include <vector>

#include "fake_hidapi.h"
#include "keypad_peer.h"
#include "link/keypad_link.h"
#include "link/link_test_support.h"
#include "model/configuration.h"
#include "model/profile_ops.h"
#include "platform/hidapi_channels.h"
#include "sim/virtual_keypad.h"

namespace qp40 {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using testing::KeypadPeer;
using testing::LogCapture;
using ::testing::Not;

constexpr const char* kKeypadPath = "fake:hidraw-keypad";

// Starts every test on an empty library, before the transport calls hid_init.
struct FakeLibrary {
  FakeLibrary() { fake_hid_reset(); }
  ~FakeLibrary() { fake_hid_reset(); }
};

class NoRefresh final : public LabelRefresher {
 public:
  void RefreshKeyLabels() override {}
};

class HidapiTransportTest : public ::testing::Test {
 protected:
  void AddKeypad(const char* path = kKeypadPath) {
    ASSERT_TRUE(fake_hid_add_interface(path, kKeypadVendorId, kKeypadProductId, peer.Peer()));
  }
  std::vector<unsigned char> LastWrite() const {
    std::vector<unsigned char> data(FAKE_HID_MAX_REPORT);
    data.resize(std::min<std::size_t>(fake_hid_last_write(data.data(), data.size()), data.size()));
    return data;
  }

  FakeLibrary library;
  sim::VirtualKeypad keypad;
  KeypadPeer peer{keypad};
  HidapiTransport transport;
  LogCapture capture;
  KeypadLink link{transport, capture.log, capture.notifier};
};

TEST_F(HidapiTransportTest, RequestGoesOutAsReportIdZeroAndFortyDataBytes) {
  AddKeypad();
  ASSERT_TRUE(link.AttachKeypad());
  EXPECT_TRUE(link.ReadDeviceId());

  const std::vector<unsigned char> written = LastWrite();
  ASSERT_EQ(written.size(), kReportSize);
  EXPECT_EQ(written[0], kReportId);
  EXPECT_TRUE(std::equal(written.begin(), written.end(), link.Request().begin()));
  ASSERT_EQ(keypad.Requests().size(), 1u);
  EXPECT_EQ(keypad.Requests()[0], link.Request());
  EXPECT_EQ(link.GetDeviceId(), keypad.Identity());
  EXPECT_EQ(peer.MalformedWrites(), 0);
  // The reply is read into a buffer larger than any report, with the reply time-out.
  EXPECT_EQ(fake_hid_last_read_length(), kHidReadBufferSize);
  EXPECT_EQ(fake_hid_last_read_timeout(), kReplyTimeoutMs);

  // Whatever the caller left in byte 0, the library is handed report ID 0.
  HidapiWriteChannel writer(hid_open_path(kKeypadPath));
  ConfigReport report = link.Request();
  report[kReportIdByte] = 0x5A;
  EXPECT_EQ(writer.Send(report), SendStatus::kSent);
  EXPECT_EQ(LastWrite()[0], kReportId);
}

TEST_F(HidapiTransportTest, InputReportsLandBehindTheReportIdByte) {
  struct Case {
    std::size_t length;
    std::size_t data_kept;  // the rest of bytes 1..40 is zero
  };
  const std::vector<Case> cases = {{40, 40}, {1, 1}, {20, 20}, {41, 40}, {64, 40}};
  AddKeypad();
  HidapiReadChannel reader(hid_open_path(kKeypadPath));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.length);
    std::vector<std::uint8_t> data(c.length);
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i + 1);
    peer.QueueInput(data);

    ConfigReport report;
    report.fill(0xEE);
    ASSERT_EQ(reader.Receive(report, kReplyTimeoutMs), ReceiveStatus::kReceived);
    EXPECT_EQ(report[kReportIdByte], kReportId);
    for (std::size_t byte = 1; byte < kReportSize; ++byte) {
      EXPECT_EQ(report[byte], byte <= c.data_kept ? byte : 0) << "byte " << byte;
    }
  }
}

TEST_F(HidapiTransportTest, WholeLoadAndSaveGoThroughTheLibrary) {
  AddKeypad();
  ASSERT_TRUE(link.AttachKeypad());
  Configuration config;
  NoRefresh refresher;
  ASSERT_EQ(LoadConfiguration(config, link, capture.log, refresher).failed_pages, 0);
  const auto profile_block = keypad.BlockData(kProfileBlock);
  EXPECT_TRUE(std::equal(profile_block.begin(), profile_block.end(), config.profile_image.begin()));

  config.burst_table[5] = 0x42;
  ASSERT_EQ(SaveConfiguration(config, link, capture.log).failed_pages, 0);
  EXPECT_EQ(keypad.BlockData(kBurstBlockFirst)[5], 0x42);
  EXPECT_EQ(keypad.RequestCount(), 321u + 325u);
  EXPECT_EQ(link.TxErrorCount(), 0);
  EXPECT_EQ(peer.MalformedWrites(), 0);
}

TEST_F(HidapiTransportTest, NothingReadIsATimeOut) {
  AddKeypad();
  ASSERT_TRUE(link.AttachKeypad());
  // The first reply is dropped: the library's read returns 0 bytes and the request goes again.
  keypad.AddFault({sim::FaultKind::kDrop, 1});
  EXPECT_TRUE(link.ReadDeviceId());
  EXPECT_EQ(keypad.RequestCount(), 2u);
  EXPECT_EQ(link.TxErrorCount(), 1);
  EXPECT_EQ(link.GetDeviceId(), keypad.Identity());

  HidapiReadChannel reader(hid_open_path(kKeypadPath));
  ConfigReport report;
  report.fill(0x77);
  EXPECT_EQ(reader.Receive(report, kReplyTimeoutMs), ReceiveStatus::kTimedOut);
  EXPECT_EQ(report[kSequenceLowByte], 0x77);

  // Reports that arrived before the request are drained without waiting.
  peer.QueueInput(std::vector<std::uint8_t>(40, 1));
  peer.QueueInput(std::vector<std::uint8_t>(40, 2));
  EXPECT_EQ(reader.DiscardPending(), 2);
  EXPECT_EQ(fake_hid_last_read_timeout(), 0);
}

TEST_F(HidapiTransportTest, UnpluggedKeypadFailsEveryReadAndWrite) {
  AddKeypad();
  ASSERT_TRUE(link.AttachKeypad());
  HidapiReadChannel reader(hid_open_path(kKeypadPath));
  HidapiWriteChannel writer(hid_open_path(kKeypadPath));
  fake_hid_remove(kKeypadPath);

  ConfigReport report{};
  EXPECT_EQ(reader.Receive(report, kReplyTimeoutMs), ReceiveStatus::kDeviceGone);
  EXPECT_EQ(reader.DiscardPending(), 0);
  EXPECT_EQ(writer.Send(report), SendStatus::kDeviceGone);

  // The link gives up at the first gone answer and knows the keypad is gone.
  capture.sink.Clear();
  EXPECT_FALSE(link.ReadDeviceId());
  EXPECT_EQ(keypad.RequestCount(), 0u);
  EXPECT_THAT(capture.sink.lines, ElementsAre(">> Tx ERROR: 1"));
  EXPECT_TRUE(link.DeviceGone());

  // Gone from the list too, so the next search finds nothing.
  EXPECT_TRUE(transport.ListInterfaces().empty());
  EXPECT_FALSE(link.AttachKeypad());
}

TEST_F(HidapiTransportTest, RefusedOpenTellsWhyOnlyForMissingPermission) {
  struct Case {
    int error_number;
    OpenError error;
  };
  const std::vector<Case> cases = {{EACCES, OpenError::kPermissionDenied},
                                   {EPERM, OpenError::kPermissionDenied},
                                   {EBUSY, OpenError::kOther},
                                   {ENODEV, OpenError::kOther}};
  AddKeypad();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.error_number);
    fake_hid_refuse_open(kKeypadPath, c.error_number);
    const OpenResult<ReadChannel> read = transport.OpenRead(kKeypadPath);
    EXPECT_EQ(read.channel, nullptr);
    EXPECT_EQ(read.error, c.error);
    EXPECT_EQ(transport.OpenWrite(kKeypadPath).error, c.error);
  }
  EXPECT_EQ(transport.OpenRead("fake:no-such-interface").error, OpenError::kOther);
  EXPECT_EQ(fake_hid_open_handles(), 0);
}

TEST_F(HidapiTransportTest, KeypadRefusedForPermissionPointsAtTheUdevRule) {
  AddKeypad();
  fake_hid_refuse_open(kKeypadPath, EACCES);

  EXPECT_FALSE(link.AttachKeypad());
  EXPECT_THAT(capture.notifier.messages,
              ElementsAre("READ Open Failed", kKeypadPath, ">> WRITE Open Failed ! "));
  EXPECT_THAT(
      capture.sink.lines,
      ElementsAre(std::string(">> Permission denied on ") + kKeypadPath +
                      ": install the udev rule packaging/70-qp40.rules into /etc/udev/rules.d/, "
                      "then run 'udevadm control --reload' and plug the keypad in again",
                  ">> Found Quilpad in Management Mode, but failed to open it 1"));
  EXPECT_FALSE(link.IsOpen());
}

TEST_F(HidapiTransportTest, OnlyTheFirstOfManyKeypadsIsOpenedAndNoOtherDevice) {
  // Another vendor's and another product's interface come first in the library's order.
  ASSERT_TRUE(
      fake_hid_add_interface("fake:other-vendor", kKeypadVendorId + 1, kKeypadProductId, nullptr));
  ASSERT_TRUE(
      fake_hid_add_interface("fake:other-product", kKeypadVendorId, kKeypadProductId + 1, nullptr));
  std::vector<std::string> paths;
  for (int i = 0; i < 10; ++i) paths.push_back("fake:keypad-" + std::to_string(i));
  for (const std::string& path : paths) AddKeypad(path.c_str());

  ASSERT_TRUE(link.AttachKeypad());
  EXPECT_THAT(capture.sink.lines, Contains(">> Found one Keypad and Openned 10"));
  const auto& matching = link.MatchingPaths();
  EXPECT_TRUE(std::equal(matching.begin(), matching.end(), paths.begin()));
  // One open for the read channel, one for the write channel.
  EXPECT_EQ(fake_hid_open_count(paths[0].c_str()), 2);
  for (std::size_t i = 1; i < paths.size(); ++i) {
    EXPECT_EQ(fake_hid_open_count(paths[i].c_str()), 0) << paths[i];
  }
  EXPECT_EQ(fake_hid_open_count("fake:other-vendor"), 0);
  EXPECT_EQ(fake_hid_open_count("fake:other-product"), 0);
  EXPECT_THAT(capture.notifier.messages, Not(Contains("READ Open Failed")));

  EXPECT_EQ(fake_hid_live_enumerations(), 0);
  EXPECT_EQ(fake_hid_open_handles(), 2);
  link.CloseKeypad();
  EXPECT_EQ(fake_hid_open_handles(), 0);
}

TEST(HidapiLibraryTest, TransportStartsAndShutsTheLibraryDownOnce) {
  FakeLibrary library;
  {
    HidapiTransport transport;
    EXPECT_EQ(fake_hid_init_count(), 1);
    EXPECT_TRUE(transport.ListInterfaces().empty());
    EXPECT_EQ(fake_hid_exit_count(), 0);
  }
  EXPECT_EQ(fake_hid_init_count(), 1);
  EXPECT_EQ(fake_hid_exit_count(), 1);
}

}  // namespace
}  // namespace qp40
