#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "link/transport.h"
#include "sim/sim_transport.h"
#include "sim/virtual_keypad.h"

namespace qp40::sim {

// How a program runs the virtual keypad: --simulate[=IMAGE], --sim-fault and --sim-latency.
struct SimOptions {
  bool simulate = false;
  // Memory image of the virtual keypad; empty for a fresh factory keypad that is not kept.
  std::string image;
  std::vector<Fault> faults;
  std::uint32_t latency_us = 0;
};

// One fault of --sim-fault: KIND@N, with KIND one of drop, status, echo, late, gone, flip and N the
// 1-based number of the request it hits. Nothing for anything else.
std::optional<Fault> ParseFault(std::string_view text);

// The usage error for one fault `text`, or empty when it is a valid fault.
std::string CheckFault(std::string_view text);

// A comma-separated list of faults ("drop@5,late@9"), each added to `faults` in turn: the usage
// error of the first item that is no fault (an empty item included), or empty.
std::string ParseFaultList(std::string_view list, std::vector<Fault>& faults);

// The MICROSECONDS of --sim-latency: decimal digits only, leading zeros allowed, at most
// 4294967295. Nothing for anything else, a number too large included.
std::optional<std::uint32_t> ParseLatency(std::string_view text);

// The usage error for a --sim-latency value `text`, or empty when ParseLatency accepts it.
std::string CheckLatency(std::string_view text);

// The virtual keypad a program runs on, made from its options: the faults and the latency are
// set, the memory is read from the image file (when one is named and exists) and written back to
// it at the end. The transport connects the link to it.
class SimulatedKeypad {
 public:
  explicit SimulatedKeypad(const SimOptions& options);
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
  Transport& GetTransport() { return transport_; }

 private:
  std::string image_;
  VirtualKeypad keypad_;
  SimTransport transport_{keypad_};
  bool keep_image_ = false;
};

}  // namespace qp40::sim
