#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "link/report.h"

namespace qp40::sim {

// Size of a keypad memory image file: 128 blocks of 2048 bytes, block b at offset 2048·b.
inline constexpr std::size_t kImageSize = kBlockCount * kBlockSize;

enum class FaultKind {
  kDrop,    // no reply to that request
  kStatus,  // reply with a status other than 0x55
  kEcho,    // reply with a wrong sequence echo
  kLate,    // the reply is queued only after the tool's read has timed out
  kGone,    // from that request on, the keypad is gone
  kFlip,    // the page that request writes is acknowledged but stored with one bit flipped
};

// A fault on the N-th request the keypad receives (1-based; every try counts).
struct Fault {
  FaultKind kind;
  std::uint64_t request_number;

  bool operator==(const Fault&) const = default;
};

// Status of a reply to a request the keypad refuses (bad header, unknown command, block or page
// out of range), and the status a kStatus fault replies with.
inline constexpr std::uint8_t kStatusRefused = 0xEE;

// The keypad in Management mode, in memory: 128 blocks, the six commands, status 0x55 and the
// sequence echo, and knobs that make it misbehave. Like flash, a page write can only clear bits:
// a block has to be prepared (erased to 0xFF) before new data reads back as written. After a
// reboot the virtual keypad is back in Management mode at once.
class VirtualKeypad {
 public:
  // Starts with the factory image. `firmware_version` is board-setting byte 7 of every profile.
  explicit VirtualKeypad(std::uint8_t firmware_version = 0xFF);

  // Handles one request report; returns the reply it sends, or nothing (reboot, dropped reply,
  // gone). A late reply is not returned here but handed out by TakeLateReply().
  std::optional<ConfigReport> HandleRequest(const ConfigReport& request);
  // A reply held back by a kLate fault, released once the tool's read for it has timed out.
  std::optional<ConfigReport> TakeLateReply();

  // One block of the memory; throws std::out_of_range for a block number of 128 or more.
  std::span<std::uint8_t, kBlockSize> BlockData(std::uint8_t block);
  std::span<const std::uint8_t, kBlockSize> BlockData(std::uint8_t block) const;
  const DeviceId& Identity() const { return identity_; }
  void SetIdentity(const DeviceId& identity) { identity_ = identity; }

  // Puts back the factory image (what the restore-factory command does).
  void RestoreFactoryImage();

  // Image files: false when the file cannot be read (or is not kImageSize bytes) or written.
  bool LoadImage(const std::string& path);
  bool SaveImage(const std::string& path) const;

  void AddFault(Fault fault) { faults_.push_back(fault); }
  // Forgets every fault added, those still to come included.
  void ClearFaults() { faults_.clear(); }
  void SetLatencyMicroseconds(std::uint32_t microseconds) { latency_us_ = microseconds; }
  std::uint32_t LatencyMicroseconds() const { return latency_us_; }
  bool Gone() const { return gone_; }
  void SetGone(bool gone) { gone_ = gone; }

  // Counters for tests.
  std::uint64_t RequestCount() const { return request_count_; }
  int RebootCount() const { return reboot_count_; }
  int FactoryRestoreCount() const { return factory_restore_count_; }
  // Every request received, in order (for tests that check what was sent).
  const std::vector<ConfigReport>& Requests() const { return requests_; }
  // Off for long runs such as benchmarks, where keeping every request would only grow memory.
  void SetRecordRequests(bool record) { record_requests_ = record; }

 private:
  std::array<std::uint8_t, kImageSize> memory_{};
  std::uint8_t firmware_version_;
  DeviceId identity_{};
  std::vector<Fault> faults_;
  std::deque<ConfigReport> late_replies_;
  std::vector<ConfigReport> requests_;
  std::uint32_t latency_us_ = 0;
  std::uint64_t request_count_ = 0;
  int reboot_count_ = 0;
  int factory_restore_count_ = 0;
  bool gone_ = false;
  bool record_requests_ = true;

  bool HasFault(FaultKind kind) const;
  // Carries out one accepted request; false when the keypad refuses it.
  bool Execute(const ConfigReport& request, ConfigReport& reply);
};

}  // namespace qp40::sim
