#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "link/report.h"
#include "link/transport.h"
#include "log/log.h"
#include "log/notifier.h"

namespace qp40 {

// What a user does about a keypad the system refuses to open: on Linux the keypad's hidraw node
// belongs to root until the shipped udev rule hands it to the user at the seat; Windows refuses
// an interface that another program holds.
std::string PermissionAdvice();

// The device link: finds and opens the keypad, exchanges reports with it and knows its six
// commands. One object lives for the whole run; its counters survive reconnections.
class KeypadLink {
 public:
  static constexpr std::size_t kMaxMatchingPaths = 8;

  KeypadLink(Transport& transport, Log& log, Notifier& notifier);
  ~KeypadLink();
  KeypadLink(const KeypadLink&) = delete;
  KeypadLink& operator=(const KeypadLink&) = delete;

  // --- Discovery and connection ---
  // Counts every interface with these IDs; the first kMaxMatchingPaths go into the path list.
  [[nodiscard]] int FindKeypads(std::uint16_t vendor_id, std::uint16_t product_id);
  // Opens a read and a write channel on `path`. kNone when both opened; otherwise why the first
  // refused channel was refused (kPermissionDenied wins), and neither channel stays open.
  [[nodiscard]] OpenError OpenKeypad(const std::string& path);
  // What AttachKeypad found and did.
  struct AttachReport {
    int found = 0;     // interfaces with the keypad's IDs
    std::string path;  // the one tried; empty when none was found or the chosen one is not there
    OpenError error = OpenError::kNone;
    bool Opened() const { return found > 0 && !path.empty() && error == OpenError::kNone; }
    explicit operator bool() const { return Opened(); }
  };
  // Finds the keypad and opens the first match.
  [[nodiscard]] AttachReport AttachKeypad();
  // Finds the keypads and opens the one on `path`; when none of the listed matches is on that
  // path, nothing is opened or logged and the report's path stays empty.
  [[nodiscard]] AttachReport AttachKeypad(const std::string& path);
  // Closes whichever channel is open.
  void CloseKeypad();
  bool IsOpen() const { return reader_ != nullptr && writer_ != nullptr; }
  // The path the open keypad was opened on; empty when none is open.
  const std::string& OpenPath() const { return open_path_; }
  const std::array<std::string, kMaxMatchingPaths>& MatchingPaths() const { return paths_; }

  // True once a send or receive has reported the keypad gone (it was unplugged): the channels
  // are closed then, and every exchange fails at once, without a try, until a keypad is opened
  // again. Block operations stop at that point.
  bool DeviceGone() const { return device_gone_; }

  // The connected flag: set by the window after a successful attach, cleared on reboot.
  bool Connected() const { return connected_; }
  void SetConnected(bool connected) { connected_ = connected; }

  // --- Report exchange ---
  // Sends the request buffer and waits for a matching reply, up to three tries. Writes request
  // bytes 1, 2, 39 and 40 itself. True when a reply with status 0x55 and the request's sequence
  // low byte arrived (it is then in Reply()), or at once for the reboot command. A keypad
  // reported gone ends the tries at once (see DeviceGone()).
  [[nodiscard]] bool ExchangeReport();
  ConfigReport& Request() { return request_; }
  const ConfigReport& Reply() const { return reply_; }
  std::uint16_t SequenceNumber() const { return sequence_number_; }
  std::uint16_t TxErrorCount() const { return tx_error_count_; }
  // Exchanges that failed all their tries since the program started.
  int FailedExchangeCount() const { return failed_exchange_count_; }

  // --- Commands ---
  // Each block operation returns how many of its 64 pages failed (0 when all went through).
  // A failed page is logged and skipped; it leaves the destination's previous bytes in place.
  [[nodiscard]] int ReadBlock(std::uint8_t block, std::span<std::uint8_t, kBlockSize> destination);
  [[nodiscard]] int WriteBlock(std::uint8_t block,
                               std::span<const std::uint8_t, kBlockSize> source);
  // The commands without pages: true when the keypad accepted the request.
  [[nodiscard]] bool PrepareBlock(std::uint8_t block);
  [[nodiscard]] bool RebootDevice();
  [[nodiscard]] bool RestoreFactorySettings();
  // Ends the configuration: sends the reboot request, closes the keypad, clears the connected
  // flag and tells the user, through the notifier, to reboot the keyboard. True when the reboot
  // request went out.
  [[nodiscard]] bool CloseAndReboot();
  // Reads the keypad's identity into GetDeviceId() (all zeros when the exchange failed) and logs
  // it; true when the keypad answered.
  [[nodiscard]] bool ReadDeviceId();
  const DeviceId& GetDeviceId() const { return device_id_; }

  // Called after every page exchange of a block operation, so a progress display can move.
  void SetPageObserver(std::function<void()> observer) { page_observer_ = std::move(observer); }

 private:
  void FillCommand(std::uint8_t command, std::uint8_t argument);
  void NotifyPage();

  Transport& transport_;
  Log& log_;
  Notifier& notifier_;

  std::array<std::string, kMaxMatchingPaths> paths_{};
  std::unique_ptr<ReadChannel> reader_;
  std::unique_ptr<WriteChannel> writer_;
  std::string open_path_;
  bool connected_ = false;
  bool device_gone_ = false;

  ConfigReport request_{};
  ConfigReport reply_{};
  std::uint16_t sequence_number_ = 0;
  std::uint16_t tx_error_count_ = 0;
  int failed_exchange_count_ = 0;
  DeviceId device_id_{};
  std::function<void()> page_observer_;
};

}  // namespace qp40
