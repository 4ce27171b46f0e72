#include "link/keypad_link.h"
#include "log/text_format.h"

namespace qp40 {

bool KeypadLink::ExchangeReport() {
  if (device_gone_) {
    // Nothing can reach an unplugged keypad; its loss is logged once, where it was found.
    if (request_[kCommandByte] == kCmdReboot) return true;
    ++failed_exchange_count_;
    return false;
  }
  for (int attempt = 0; attempt < kTriesPerExchange; ++attempt) {
    request_[kLeadByte] = kLeadValue;
    request_[kHeaderByte] = kHeaderValue;
    request_[kSequenceHighByte] = static_cast<std::uint8_t>(sequence_number_ >> 8);
    request_[kSequenceLowByte] = static_cast<std::uint8_t>(sequence_number_ & 0xFF);
    const bool reboot = request_[kCommandByte] == kCmdReboot;

    bool accepted = false;
    if (IsOpen()) {
      // A reply that arrived after an earlier try gave up carries the same sequence number as
      // this request; dropping it first means only a reply to this request can be accepted.
      reader_->DiscardPending();
      const SendStatus sent = writer_->Send(request_);
      if (reboot) {
        // The keypad restarts instead of answering.
        return true;
      }
      const ReceiveStatus received = sent == SendStatus::kSent
                                         ? reader_->Receive(reply_, kReplyTimeoutMs)
                                         : ReceiveStatus::kDeviceGone;
      if (received == ReceiveStatus::kDeviceGone) {
        // An unplugged keypad does not come back by trying again: the exchange ends here.
        ++tx_error_count_;
        device_gone_ = true;
        CloseKeypad();
        break;
      }
      accepted = received == ReceiveStatus::kReceived &&
                 reply_[kSequenceLowByte] == request_[kSequenceLowByte] &&
                 reply_[kStatusByte] == kStatusAccepted;
    } else if (reboot) {
      // A reboot counts as done whether or not its request went out.
      return true;
    }

    if (accepted) {
      ++sequence_number_;
      return true;
    }
    ++tx_error_count_;
  }

  ++failed_exchange_count_;
  log_.AppendLog(FormatText(">> Tx ERROR: %d", static_cast<int>(tx_error_count_)));
  return false;
}

}  // namespace qp40
