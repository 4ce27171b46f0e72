#pragma once

#include "sim/sim_setup.h"

namespace qp40::ctl {

// The options that come before the command.
struct GlobalOptions {
  // --simulate[=IMAGE], --sim-fault and --sim-latency.
  sim::SimOptions sim;
  // Copy every log line to stderr as it is written.
  bool log = false;
};

}  // namespace qp40::ctl
