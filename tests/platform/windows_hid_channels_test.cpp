// The Windows channels' overlapped reads and writes, on a message pipe that stands in for the
// keypad's handle: each message is one report, as the HID driver delivers them.
#include "platform/windows/windows_hid_channels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/windows/windows_hid_transport.h"
#include "support/temp_folder.h"

namespace qp40 {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(CopyInputReportTest, PadsShortReportsCutsLongOnesAndSetsTheReportId) {
  struct Case {
    const char* name;
    Bytes input;
    std::size_t data_bytes_copied;
  };
  const auto numbered = [](std::size_t size) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i + 0x10);
    return bytes;
  };
  const std::vector<Case> cases = {
      {"nothing", {}, 0},
      {"report ID only", {0x07}, 0},
      {"short", numbered(10), 9},
      {"exact", numbered(kReportSize), kReportSize - 1},
      {"long", numbered(65), kReportSize - 1},
  };
  for (const Case& c : cases) {
    ConfigReport report;
    report.fill(0xEE);
    CopyInputReport(c.input, report);
    EXPECT_EQ(report[kReportIdByte], kReportId) << c.name;
    for (std::size_t i = 1; i < kReportSize; ++i) {
      const std::uint8_t expected = i <= c.data_bytes_copied ? c.input[i] : 0;
      EXPECT_EQ(report[i], expected) << c.name << " byte " << i;
    }
  }
}

// A message pipe: the server end plays the keypad, the client end (opened for overlapped I/O,
// as the transport opens the keypad) goes into the channel under test.
class PipeKeypad : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::wstring name = L"\\\\.\\pipe\\qp40-channel-test-" +
                              std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(++pipe_count_);
    server_ = Win32Handle(CreateNamedPipeW(name.c_str(), PIPE_ACCESS_DUPLEX,
                                           PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT, 1,
                                           4096, 4096, 0, nullptr));
    ASSERT_TRUE(server_.Valid());
    client_ = Win32Handle(CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr));
    ASSERT_TRUE(client_.Valid());
    DWORD mode = PIPE_READMODE_MESSAGE;
    ASSERT_TRUE(SetNamedPipeHandleState(client_.Get(), &mode, nullptr, nullptr));
  }

  // The keypad sends one input report: the report-ID byte and `data`.
  void KeypadSends(const Bytes& data) {
    Bytes message = {0x00};
    message.insert(message.end(), data.begin(), data.end());
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(server_.Get(), message.data(), static_cast<DWORD>(message.size()),
                          &written, nullptr));
  }

  Bytes KeypadReceives() {
    Bytes message(256);
    DWORD length = 0;
    if (!ReadFile(server_.Get(), message.data(), static_cast<DWORD>(message.size()), &length,
                  nullptr)) {
      return {};
    }
    message.resize(length);
    return message;
  }

  Win32Handle server_;
  Win32Handle client_;
  static inline int pipe_count_ = 0;
};

TEST_F(PipeKeypad, ReceiveTimesOutWithoutLeavingItsReadBehind) {
  WindowsHidReadChannel channel(std::move(client_), kReportSize);
  ConfigReport report;
  report.fill(0xEE);
  EXPECT_EQ(channel.Receive(report, 0), ReceiveStatus::kTimedOut);
  EXPECT_EQ(report, [] {
    ConfigReport untouched;
    untouched.fill(0xEE);
    return untouched;
  }());

  // A read left outstanding by the time-out would take this report; the next receive gets it.
  Bytes data(kReportSize - 1);
  data[kStatusByte - 1] = kStatusAccepted;
  data[kSequenceLowByte - 1] = 0x42;
  KeypadSends(data);
  ASSERT_EQ(channel.Receive(report, 1000), ReceiveStatus::kReceived);
  EXPECT_EQ(report[kReportIdByte], kReportId);
  EXPECT_EQ(report[kStatusByte], kStatusAccepted);
  EXPECT_EQ(report[kSequenceLowByte], 0x42);
}

TEST_F(PipeKeypad, DiscardDropsTheWaitingReportsOnly) {
  WindowsHidReadChannel channel(std::move(client_), kReportSize);
  for (std::uint8_t i = 1; i <= 3; ++i) KeypadSends(Bytes(kReportSize - 1, i));
  EXPECT_EQ(channel.DiscardPending(), 3);
  ConfigReport report{};
  EXPECT_EQ(channel.Receive(report, 0), ReceiveStatus::kTimedOut);
  EXPECT_EQ(channel.DiscardPending(), 0);
}

TEST_F(PipeKeypad, AVanishedKeypadIsGoneForEveryLaterReceive) {
  WindowsHidReadChannel channel(std::move(client_), kReportSize);
  server_.Reset();
  ConfigReport report{};
  EXPECT_EQ(channel.Receive(report, 1000), ReceiveStatus::kDeviceGone);
  EXPECT_EQ(channel.Receive(report, 1000), ReceiveStatus::kDeviceGone);
  EXPECT_EQ(channel.DiscardPending(), 0);
}

TEST_F(PipeKeypad, SendWritesOneOutputReportOfTheDevicesLength) {
  constexpr std::size_t kOutputLength = 65;
  WindowsHidWriteChannel channel(std::move(client_), kOutputLength);
  ConfigReport request{};
  request[kReportIdByte] = 0x09;  // the report ID always goes out as 0
  request[kLeadByte] = kLeadValue;
  request[kSequenceLowByte] = 0x17;
  ASSERT_EQ(channel.Send(request), SendStatus::kSent);

  const Bytes sent = KeypadReceives();
  ASSERT_EQ(sent.size(), kOutputLength);
  EXPECT_EQ(sent[kReportIdByte], kReportId);
  EXPECT_EQ(sent[kLeadByte], kLeadValue);
  EXPECT_EQ(sent[kSequenceLowByte], 0x17);
  EXPECT_TRUE(std::all_of(sent.begin() + kReportSize, sent.end(), [](auto b) { return b == 0; }));

  server_.Reset();
  EXPECT_EQ(channel.Send(request), SendStatus::kDeviceGone);
}

TEST(WindowsHidTransportTest, OpenFailuresTellAccessDeniedFromTheRest) {
  WindowsHidTransport transport;
  const testing::TempFolder folder;
  const std::string missing = (folder.Path() / "no-such-device").string();
  // A folder cannot be opened as a file: the system answers ERROR_ACCESS_DENIED.
  const std::string refused = folder.Path().string();

  const OpenResult<ReadChannel> read_missing = transport.OpenRead(missing);
  EXPECT_EQ(read_missing.channel, nullptr);
  EXPECT_EQ(read_missing.error, OpenError::kOther);
  const OpenResult<WriteChannel> write_missing = transport.OpenWrite(missing);
  EXPECT_EQ(write_missing.channel, nullptr);
  EXPECT_EQ(write_missing.error, OpenError::kOther);

  const OpenResult<ReadChannel> read_refused = transport.OpenRead(refused);
  EXPECT_EQ(read_refused.channel, nullptr);
  EXPECT_EQ(read_refused.error, OpenError::kPermissionDenied);
}

}  // namespace
}  // namespace qp40
