#pragma once

#include <string>

#include "sim/sim_setup.h"

namespace qp40::ctl {

// The options that come before the command.
struct GlobalOptions {
  // --simulate[=IMAGE], --sim-fault and --sim-latency.
  sim::SimOptions sim;
  // --device: the keypad's number, identity or path; empty when not given.
  std::string device;
  // Copy every log line to stderr as it is written.
  bool log = false;
};

}  // namespace qp40::ctl
