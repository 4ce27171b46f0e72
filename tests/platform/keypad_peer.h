#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <utility>
#include <vector>

#include "fake_hidapi.h"
#include "sim/virtual_keypad.h"

namespace qp40::testing {

// Plays the keypad behind a pretend hidapi interface from a VirtualKeypad, as the keypad's USB
// end would see it: a write must be the report-ID byte 0 and the 40 data bytes; a reply comes
// back as its 40 data bytes alone, since the keypad's reports are unnumbered. A reply the keypad
// holds back (a late fault) is handed out once a read has found nothing waiting.
class KeypadPeer {
 public:
  explicit KeypadPeer(sim::VirtualKeypad& keypad);
  KeypadPeer(const KeypadPeer&) = delete;
  KeypadPeer& operator=(const KeypadPeer&) = delete;

  const fake_hid_peer* Peer() const { return &peer_; }
  // An input report the device sends of its own, read before any reply that follows.
  void QueueInput(std::vector<std::uint8_t> data) { input_.push_back(std::move(data)); }
  // Writes that were not 41 bytes beginning with report ID 0; the keypad never sees them.
  int MalformedWrites() const { return malformed_writes_; }

 private:
  static void Write(void* context, const unsigned char* data, std::size_t length);
  static int Read(void* context, unsigned char* data, std::size_t length);

  sim::VirtualKeypad& keypad_;
  std::deque<std::vector<std::uint8_t>> input_;
  fake_hid_peer peer_;
  int malformed_writes_ = 0;
};

}  // namespace qp40::testing
