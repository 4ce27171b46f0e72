#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "link/transport.h"
#include "sim/sim_bus.h"
#include "sim/sim_transport.h"
#include "sim/virtual_keypad.h"

namespace qp40::sim {

// A fault of --sim-fault with the virtual keypad it hits (1-based, in the order of --simulate).
struct KeypadFault {
  std::size_t keypad = 1;
  Fault fault;

  bool operator==(const KeypadFault&) const = default;
};

// How a program runs its virtual keypads: --simulate[=IMAGE] (repeated for several keypads),
// --sim-fault and --sim-latency.
struct SimOptions {
  bool simulate = false;
  // The memory image of each virtual keypad, in order; an empty name is a fresh factory keypad
  // that is not kept. No entry at all stands for one such keypad.
  std::vector<std::string> images;
  std::vector<KeypadFault> faults;
  std::uint32_t latency_us = 0;

  std::size_t KeypadCount() const { return images.empty() ? 1 : images.size(); }
};

// One fault of --sim-fault: [K:]KIND@N, with K the virtual keypad (from 1; the first without it),
// KIND one of drop, status, echo, late, gone, flip and N the 1-based number of the request it
// hits. Nothing for anything else.
std::optional<KeypadFault> ParseFault(std::string_view text);

// The usage error for one fault `text`, or empty when it is a valid fault.
std::string CheckFault(std::string_view text);

// A comma-separated list of faults ("drop@5,2:late@9"), each added to `faults` in turn: the usage
// error of the first item that is no fault (an empty item included), or empty.
std::string ParseFaultList(std::string_view list, std::vector<KeypadFault>& faults);

// The usage error for an image named twice or a fault that names a keypad beyond those
// simulated, or empty.
std::string CheckSimKeypads(const SimOptions& options);

// The path the virtual keypad `number` (from 1) is listed under: the first keeps the plain path.
std::string SimPath(std::size_t number);

// The identity the virtual keypad reports: made from the image's file name (not its folder, so
// that copies of one image in two folders act as two clones with one identity), the factory
// identity for the first keypad without an image, and one made from `number` for the others.
DeviceId SimIdentity(std::string_view image, std::size_t number);

// The MICROSECONDS of --sim-latency: decimal digits only, leading zeros allowed, at most
// 4294967295. Nothing for anything else, a number too large included.
std::optional<std::uint32_t> ParseLatency(std::string_view text);

// The usage error for a --sim-latency value `text`, or empty when ParseLatency accepts it.
std::string CheckLatency(std::string_view text);

// One virtual keypad a program runs on, the `number`-th (from 1) of its options: its faults and
// the latency are set, the memory is read from its image file (when one is named and exists)
// and written back to it at the end. The transport connects the link to it.
class SimulatedKeypad {
 public:
  SimulatedKeypad(const SimOptions& options, std::size_t number);
  SimulatedKeypad(const SimulatedKeypad&) = delete;
  SimulatedKeypad& operator=(const SimulatedKeypad&) = delete;

  // Reads the memory from the image file. A missing file keeps the factory image; the file is
  // created by SaveImage. Returns the error for the user (without the program's name) when the
  // file is no keypad memory image: it is then left unchanged, SaveImage does not write it.
  // Empty when all is well or no image is named.
  std::string LoadImage();
  // Writes the memory back to the image file that LoadImage accepted. Returns the error for the
  // user when that fails; empty when all is well or there is nothing to write.
  std::string SaveImage() const;

  VirtualKeypad& Keypad() { return keypad_; }
  SimTransport& GetTransport() { return transport_; }

 private:
  std::string image_;
  VirtualKeypad keypad_;
  SimTransport transport_;
  bool keep_image_ = false;
};

// Every virtual keypad of the options, on one transport that lists them all in order.
class SimulatedKeypads {
 public:
  explicit SimulatedKeypads(const SimOptions& options);
  SimulatedKeypads(const SimulatedKeypads&) = delete;
  SimulatedKeypads& operator=(const SimulatedKeypads&) = delete;

  // LoadImage of each keypad: the first error, or empty.
  std::string LoadImages();
  // SaveImage of each keypad: every error, one a line, or empty.
  std::string SaveImages() const;

  std::size_t Count() const { return keypads_.size(); }
  // The `index`-th keypad (from 0); throws std::out_of_range past the last.
  SimulatedKeypad& At(std::size_t index) { return *keypads_.at(index); }
  Transport& GetTransport() { return bus_; }

 private:
  std::vector<std::unique_ptr<SimulatedKeypad>> keypads_;
  SimBus bus_;
};

}  // namespace qp40::sim
