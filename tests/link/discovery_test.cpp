#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/keypad_link.h"
#include "link_test_support.h"
#include "scripted_transport.h"

namespace qp40::testing {
namespace {

using Texts = std::vector<std::string>;

HidInterfaceInfo Keypad(const std::string& path) {
  return {path, kKeypadVendorId, kKeypadProductId};
}

class DiscoveryTest : public ::testing::Test {
 protected:
  ScriptedTransport transport;
  LogCapture capture;
  KeypadLink link{transport, capture.log, capture.notifier};
};

TEST_F(DiscoveryTest, OpensTheFirstOfTwoMatchesInPlatformOrder) {
  transport.interfaces = {{"mouse", 0x046D, 0xC077},
                          Keypad("second-usb-port"),
                          {"other-product", kKeypadVendorId, 0x0821},
                          Keypad("first-usb-port")};

  EXPECT_TRUE(link.AttachKeypad());

  EXPECT_TRUE(link.IsOpen());
  EXPECT_EQ(link.MatchingPaths()[0], "second-usb-port");
  EXPECT_EQ(link.MatchingPaths()[1], "first-usb-port");
  EXPECT_EQ(transport.opened_read_paths, Texts{"second-usb-port"});
  EXPECT_EQ(transport.opened_write_paths, Texts{"second-usb-port"});
  EXPECT_EQ(capture.sink.lines, (Texts{">> Device READ Openned \n", ">> Device WRITE Openned \n",
                                       ">> Found one Keypad and Openned 2"}));
  EXPECT_TRUE(capture.notifier.messages.empty());
}

TEST_F(DiscoveryTest, NoKeypadIsSilent) {
  transport.interfaces = {{"mouse", 0x046D, 0xC077}};

  EXPECT_FALSE(link.AttachKeypad());

  EXPECT_FALSE(link.IsOpen());
  EXPECT_TRUE(transport.opened_read_paths.empty());
  EXPECT_TRUE(capture.sink.lines.empty());
  EXPECT_TRUE(capture.notifier.messages.empty());
}

TEST_F(DiscoveryTest, FailedOpensShowTheirMessagesAndLogTheFailure) {
  struct Case {
    const char* name;
    OpenError read_error;
    OpenError write_error;
    Texts messages;
    Texts lines;
  };
#ifdef _WIN32
  const std::string hint =
      ">> Access denied on keypad: close other programs that use the keypad, then plug the "
      "keypad in again";
#else
  const std::string hint =
      ">> Permission denied on keypad: install the udev rule packaging/70-qp40.rules into "
      "/etc/udev/rules.d/, then run 'udevadm control --reload' and plug the keypad in again";
#endif
  const std::string failed = ">> Found Quilpad in Management Mode, but failed to open it 1";
  const std::vector<Case> cases = {
      {"read fails",
       OpenError::kOther,
       OpenError::kNone,
       {"READ Open Failed", "keypad"},
       {">> Device WRITE Openned \n", failed}},
      {"write fails",
       OpenError::kNone,
       OpenError::kOther,
       {">> WRITE Open Failed ! "},
       {">> Device READ Openned \n", failed}},
      {"no permission for either",
       OpenError::kPermissionDenied,
       OpenError::kPermissionDenied,
       {"READ Open Failed", "keypad", ">> WRITE Open Failed ! "},
       {hint, failed}},
      {"no permission to write",
       OpenError::kNone,
       OpenError::kPermissionDenied,
       {">> WRITE Open Failed ! "},
       {">> Device READ Openned \n", hint, failed}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedTransport transport;
    LogCapture capture;
    KeypadLink link(transport, capture.log, capture.notifier);
    transport.read_error = c.read_error;
    transport.write_error = c.write_error;

    EXPECT_FALSE(link.AttachKeypad());

    EXPECT_FALSE(link.IsOpen());
    EXPECT_EQ(capture.notifier.messages, c.messages);
    EXPECT_EQ(capture.sink.lines, c.lines);
  }
}

TEST_F(DiscoveryTest, CountsEveryMatchButKeepsTheFirstEight) {
  transport.interfaces.clear();
  for (int i = 0; i < 11; ++i) {
    transport.interfaces.push_back(Keypad("keypad-" + std::to_string(i)));
  }
  EXPECT_EQ(link.FindKeypads(kKeypadVendorId, kKeypadProductId), 11);
  for (std::size_t i = 0; i < KeypadLink::kMaxMatchingPaths; ++i) {
    EXPECT_EQ(link.MatchingPaths()[i], "keypad-" + std::to_string(i));
  }

  // A later search overwrites only the entries it fills.
  transport.interfaces = {Keypad("only")};
  EXPECT_TRUE(link.AttachKeypad());
  EXPECT_EQ(link.MatchingPaths()[0], "only");
  EXPECT_EQ(link.MatchingPaths()[1], "keypad-1");
  EXPECT_EQ(capture.sink.lines.back(), ">> Found one Keypad and Openned 1");
}

TEST_F(DiscoveryTest, CountersSurviveClosingAndReopening) {
  ASSERT_TRUE(link.AttachKeypad());
  link.Request()[kCommandByte] = kCmdReadDeviceId;
  transport.ExpectSend(MakeRequest(kCmdReadDeviceId, 0, Payload{}, 0, 0, 0)).Reply(MakeReply(0));
  ASSERT_TRUE(link.ExchangeReport());

  link.CloseKeypad();
  EXPECT_FALSE(link.IsOpen());
  ASSERT_TRUE(link.AttachKeypad());

  transport.ExpectSend(MakeRequest(kCmdReadDeviceId, 0, Payload{}, 0, 0, 1)).Reply(MakeReply(1));
  EXPECT_TRUE(link.ExchangeReport());
  EXPECT_EQ(link.SequenceNumber(), 2);
}

}  // namespace
}  // namespace qp40::testing
