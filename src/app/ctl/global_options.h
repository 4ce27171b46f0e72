#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim/virtual_keypad.h"

namespace qp40::ctl {

// The options that come before the command.
struct GlobalOptions {
  bool simulate = false;
  // Memory image of the virtual keypad; empty for a fresh factory keypad that is not kept.
  std::string sim_image;
  std::vector<sim::Fault> sim_faults;
  std::uint32_t sim_latency_us = 0;
  // Copy every log line to stderr as it is written.
  bool log = false;
};

}  // namespace qp40::ctl
