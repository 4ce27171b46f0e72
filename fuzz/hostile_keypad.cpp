#include "hostile_keypad.h"

#include <algorithm>
#include <memory>

namespace qp40::fuzz {

namespace {

// What the input asks of one receive, from the low four bits of its byte.
enum ReplyKind : std::uint8_t {
  // 0..8: accepted, with a zero payload below kPayloadFromInput, else with the payload from the
  // input, and from kPageBytesFromInput on with the page bytes from the input too.
  kGoodReplies = 9,
  kTimedOut = 9,
  kGoneOnReceive = 10,
  kWrongStatus = 11,
  kWrongEcho = 12,
  kRawReply = 13,       // all 41 bytes from the input
  kTwoReplies = 14,     // an accepted reply and a copy of it that waits behind it
  kGoneAfterSend = 15,  // this receive times out, and the keypad is gone by the next send
};
constexpr std::uint8_t kReplyKindMask = 0x0F;
constexpr std::uint8_t kPayloadFromInput = 3;
constexpr std::uint8_t kPageBytesFromInput = 6;

constexpr std::size_t kMaxInterfaces = 12;
constexpr std::uint8_t kOpenDenied = 6;
constexpr std::uint8_t kOpenFails = 7;
constexpr std::uint8_t kOpenChoices = 8;

std::uint16_t PageKey(std::uint8_t block, std::size_t page) {
  return static_cast<std::uint16_t>(block * kPagesPerBlock + page);
}

class HostileReadChannel final : public ReadChannel {
 public:
  explicit HostileReadChannel(HostileKeypad& keypad) : keypad_(keypad) {}
  ReceiveStatus Receive(ConfigReport& report, int /*timeout_ms*/) override {
    return keypad_.Receive(report);
  }
  int DiscardPending() override { return keypad_.DiscardPending(); }

 private:
  HostileKeypad& keypad_;
};

class HostileWriteChannel final : public WriteChannel {
 public:
  explicit HostileWriteChannel(HostileKeypad& keypad) : keypad_(keypad) {}
  SendStatus Send(const ConfigReport& report) override { return keypad_.Send(report); }

 private:
  HostileKeypad& keypad_;
};

}  // namespace

std::vector<HidInterfaceInfo> HostileKeypad::ListInterfaces() {
  first_match_.reset();
  if (gone_) {
    return {};
  }
  std::vector<HidInterfaceInfo> listed;
  const std::size_t count = input_.Next(1) % kMaxInterfaces;
  for (std::size_t i = 0; i < count; ++i) {
    HidInterfaceInfo info{"hostile:" + std::to_string(i), kKeypadVendorId, kKeypadProductId};
    switch (input_.Next(0) % 4) {
      case 1:
        info.product_id = static_cast<std::uint16_t>(kKeypadProductId + 1);
        break;
      case 2:
        info.vendor_id = static_cast<std::uint16_t>(kKeypadVendorId + 1);
        break;
      case 3:
        info.vendor_id = static_cast<std::uint16_t>(input_.Next() << 8 | input_.Next());
        info.product_id = static_cast<std::uint16_t>(input_.Next() << 8 | input_.Next());
        break;
      default:
        break;
    }
    if (!first_match_ && info.vendor_id == kKeypadVendorId && info.product_id == kKeypadProductId) {
      first_match_ = info.path;
    }
    listed.push_back(info);
  }
  return listed;
}

OpenResult<ReadChannel> HostileKeypad::OpenRead(const std::string& path) {
  // Only the first keypad listed is ever opened, never an interface of another device.
  QP40_REQUIRE(first_match_ && path == *first_match_);
  const std::uint8_t choice = input_.Next(0) % kOpenChoices;
  if (gone_ || choice == kOpenFails) {
    return {nullptr, OpenError::kOther};
  }
  if (choice == kOpenDenied) {
    return {nullptr, OpenError::kPermissionDenied};
  }
  return {std::make_unique<HostileReadChannel>(*this), OpenError::kNone};
}

OpenResult<WriteChannel> HostileKeypad::OpenWrite(const std::string& path) {
  QP40_REQUIRE(first_match_ && path == *first_match_);
  const std::uint8_t choice = input_.Next(0) % kOpenChoices;
  if (gone_ || choice == kOpenFails) {
    return {nullptr, OpenError::kOther};
  }
  if (choice == kOpenDenied) {
    return {nullptr, OpenError::kPermissionDenied};
  }
  return {std::make_unique<HostileWriteChannel>(*this), OpenError::kNone};
}

SendStatus HostileKeypad::Send(const ConfigReport& request) {
  if (gone_) {
    return SendStatus::kDeviceGone;
  }
  // Whatever the keypad did before, the link sends only well-formed requests.
  QP40_REQUIRE(request[kReportIdByte] == kReportId && request[kLeadByte] == kLeadValue &&
               request[kHeaderByte] == kHeaderValue);
  requests_.push_back(request);
  if (request[kCommandByte] != kCmdReboot) {
    awaiting_reply_ = request;
  }
  return SendStatus::kSent;
}

ConfigReport HostileKeypad::ReplyTo(const ConfigReport& request, std::uint8_t kind) {
  ConfigReport reply{};
  if (kind == kRawReply) {
    input_.Fill(reply);
    reply[kReportIdByte] = kReportId;
  } else {
    reply = request;
    reply[kStatusByte] = kStatusAccepted;
    const auto payload = std::span(reply).subspan(kPayloadByte, kPayloadSize);
    if (kind >= kPayloadFromInput) {
      input_.Fill(payload);
    } else {
      std::fill(payload.begin(), payload.end(), 0);
    }
    if (kind >= kPageBytesFromInput && kind < kGoodReplies) {
      reply[kPageIndexByte] = input_.Next();
      reply[kPageFieldByte] = input_.Next();
    }
    if (kind == kWrongStatus) {
      reply[kStatusByte] = input_.Next();
    }
    if (kind == kWrongEcho) {
      reply[kSequenceHighByte] = input_.Next();
      reply[kSequenceLowByte] = input_.Next();
    }
  }
  if (request[kCommandByte] == kCmdReadPage && request[kPageIndexByte] < kPagesPerBlock) {
    Page payload{};
    std::copy_n(reply.begin() + kPayloadByte, kPayloadSize, payload.begin());
    delivered_.emplace(PageKey(request[kArgumentByte], request[kPageIndexByte]), payload);
  }
  return reply;
}

ReceiveStatus HostileKeypad::Receive(ConfigReport& report) {
  if (gone_) {
    return ReceiveStatus::kDeviceGone;
  }
  if (!pending_.empty()) {
    report = pending_.front();
    pending_.pop_front();
    return ReceiveStatus::kReceived;
  }
  if (!awaiting_reply_) {
    return ReceiveStatus::kTimedOut;
  }
  const ConfigReport request = *awaiting_reply_;
  awaiting_reply_.reset();
  const std::uint8_t kind = input_.Empty() ? kGoneOnReceive : input_.Next() & kReplyKindMask;
  switch (kind) {
    case kTimedOut:
      return ReceiveStatus::kTimedOut;
    case kGoneOnReceive:
      gone_ = true;
      pending_.clear();
      return ReceiveStatus::kDeviceGone;
    case kGoneAfterSend:
      gone_ = true;
      return ReceiveStatus::kTimedOut;
    case kTwoReplies:
      report = ReplyTo(request, 0);
      pending_.push_back(report);
      return ReceiveStatus::kReceived;
    default:
      report = ReplyTo(request, kind);
      return ReceiveStatus::kReceived;
  }
}

int HostileKeypad::DiscardPending() {
  const int count = static_cast<int>(pending_.size());
  pending_.clear();
  return count;
}

bool HostileKeypad::Delivered(std::uint8_t block, std::size_t page,
                              std::span<const std::uint8_t> bytes) const {
  Page payload{};
  std::copy_n(bytes.begin(), std::min(bytes.size(), payload.size()), payload.begin());
  return bytes.size() == kPageSize && delivered_.contains({PageKey(block, page), payload});
}

}  // namespace qp40::fuzz
