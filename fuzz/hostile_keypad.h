#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "fuzz_support.h"
#include "link/report.h"
#include "link/transport.h"

namespace qp40::fuzz {

using Page = std::array<std::uint8_t, kPageSize>;

// A keypad that may be broken, foreign or malicious: the interfaces it lists, whether its
// channels open, and every reply (status, echo, sequence, payload, page fields, time-outs, a
// device that goes away) come from the fuzz input. Once the input is used up it lists one keypad
// whose channels open, and is gone at its next reply, so every run ends soon after its input.
class HostileKeypad final : public Transport {
 public:
  explicit HostileKeypad(ByteReader& input) : input_(input) {}

  std::vector<HidInterfaceInfo> ListInterfaces() override;
  OpenResult<ReadChannel> OpenRead(const std::string& path) override;
  OpenResult<WriteChannel> OpenWrite(const std::string& path) override;

  // Every request sent since the last ClearRequests.
  const std::vector<ConfigReport>& Requests() const { return requests_; }
  void ClearRequests() { requests_.clear(); }
  // Whether some reply to a read of `page` of `block` carried these payload bytes.
  bool Delivered(std::uint8_t block, std::size_t page, std::span<const std::uint8_t> bytes) const;

  // What the channels call.
  ReceiveStatus Receive(ConfigReport& report);
  int DiscardPending();
  SendStatus Send(const ConfigReport& request);

 private:
  ConfigReport ReplyTo(const ConfigReport& request, std::uint8_t kind);

  ByteReader& input_;
  // The path the link must open: the first listed interface with the keypad's IDs.
  std::optional<std::string> first_match_;
  std::optional<ConfigReport> awaiting_reply_;
  std::deque<ConfigReport> pending_;
  std::vector<ConfigReport> requests_;
  std::set<std::pair<std::uint16_t, Page>> delivered_;
  bool gone_ = false;
};

}  // namespace qp40::fuzz
