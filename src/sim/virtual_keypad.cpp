#include "sim/virtual_keypad.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "sim/factory_image.h"

namespace qp40::sim {

namespace {

constexpr std::uint8_t kErased = 0xFF;
constexpr std::size_t kLastPage = kPagesPerBlock - 1;

std::size_t BlockOffset(std::uint8_t block) {
  if (block >= kBlockCount) {
    throw std::out_of_range("the keypad has no block " + std::to_string(block));
  }
  return std::size_t{block} * kBlockSize;
}

}  // namespace

VirtualKeypad::VirtualKeypad(std::uint8_t firmware_version)
    : firmware_version_(firmware_version), identity_(kFactoryIdentity) {
  WriteFactoryImage(memory_, firmware_version_);
}

std::span<std::uint8_t, kBlockSize> VirtualKeypad::BlockData(std::uint8_t block) {
  return std::span(memory_).subspan(BlockOffset(block)).first<kBlockSize>();
}

std::span<const std::uint8_t, kBlockSize> VirtualKeypad::BlockData(std::uint8_t block) const {
  return std::span(memory_).subspan(BlockOffset(block)).first<kBlockSize>();
}

void VirtualKeypad::RestoreFactoryImage() { WriteFactoryImage(memory_, firmware_version_); }

bool VirtualKeypad::HasFault(FaultKind kind) const {
  return std::any_of(faults_.begin(), faults_.end(), [&](const Fault& fault) {
    return fault.kind == kind && fault.request_number == request_count_;
  });
}

std::optional<ConfigReport> VirtualKeypad::HandleRequest(const ConfigReport& request) {
  if (gone_) {
    return std::nullopt;
  }
  ++request_count_;
  if (record_requests_) {
    requests_.push_back(request);
  }
  if (HasFault(FaultKind::kGone)) {
    gone_ = true;
    return std::nullopt;
  }

  ConfigReport reply{};
  reply[kCommandByte] = request[kCommandByte];
  reply[kArgumentByte] = request[kArgumentByte];
  reply[kSequenceHighByte] = request[kSequenceHighByte];
  reply[kSequenceLowByte] = request[kSequenceLowByte];
  // A refused request, real or forced by a fault, changes nothing in the keypad.
  const bool accepted = !HasFault(FaultKind::kStatus) && Execute(request, reply);
  reply[kStatusByte] = accepted ? kStatusAccepted : kStatusRefused;

  if (request[kCommandByte] == kCmdReboot && accepted) {
    return std::nullopt;
  }
  if (HasFault(FaultKind::kEcho)) {
    reply[kSequenceLowByte] = static_cast<std::uint8_t>(~request[kSequenceLowByte]);
  }
  if (HasFault(FaultKind::kDrop)) {
    return std::nullopt;
  }
  if (HasFault(FaultKind::kLate)) {
    late_replies_.push_back(reply);
    return std::nullopt;
  }
  return reply;
}

bool VirtualKeypad::Execute(const ConfigReport& request, ConfigReport& reply) {
  if (request[kLeadByte] != kLeadValue || request[kHeaderByte] != kHeaderValue) {
    return false;
  }
  const std::uint8_t block = request[kArgumentByte];
  const std::size_t page = request[kPageIndexByte];
  const auto payload = std::span(request).subspan<kPayloadByte, kPayloadSize>();
  const auto reply_payload = std::span(reply).subspan<kPayloadByte, kPayloadSize>();
  const bool page_in_range = block < kBlockCount && page <= kLastPage;

  switch (request[kCommandByte]) {
    case kCmdReadPage: {
      if (!page_in_range) {
        return false;
      }
      const auto data = BlockData(block).subspan(page * kPageSize, kPageSize);
      std::copy(data.begin(), data.end(), reply_payload.begin());
      return true;
    }
    case kCmdWritePage: {
      if (!page_in_range) {
        return false;
      }
      // Flash: programming clears bits, only an erase sets them again.
      const auto data = BlockData(block).subspan(page * kPageSize, kPageSize);
      std::transform(data.begin(), data.end(), payload.begin(), data.begin(),
                     [](std::uint8_t old_byte, std::uint8_t new_byte) {
                       return static_cast<std::uint8_t>(old_byte & new_byte);
                     });
      if (HasFault(FaultKind::kFlip)) {
        // A worn flash cell: the write is acknowledged, but the page reads back with the lowest
        // bit of its first byte flipped.
        data[0] ^= 0x01;
      }
      return true;
    }
    case kCmdPrepareBlock: {
      if (block >= kBlockCount) {
        return false;
      }
      const auto data = BlockData(block);
      std::fill(data.begin(), data.end(), kErased);
      return true;
    }
    case kCmdReboot:
      ++reboot_count_;
      return true;
    case kCmdRestoreFactory:
      RestoreFactoryImage();
      ++factory_restore_count_;
      return true;
    case kCmdReadDeviceId:
      std::copy(identity_.begin(), identity_.end(), reply_payload.begin());
      return true;
    default:
      return false;
  }
}

std::optional<ConfigReport> VirtualKeypad::TakeLateReply() {
  if (late_replies_.empty()) {
    return std::nullopt;
  }
  ConfigReport reply = late_replies_.front();
  late_replies_.pop_front();
  return reply;
}

}  // namespace qp40::sim
