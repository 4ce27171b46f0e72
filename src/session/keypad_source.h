#pragma once

#include <functional>
#include <memory>
#include <string>

#include "link/transport.h"
#include "sim/sim_setup.h"

namespace qp40 {

// Where a run of the tool finds its keypads: the virtual keypads with --simulate (each one's
// memory kept in its image file, if one is given), USB otherwise. The window and qp40ctl set it up
// here, the same way.
class KeypadSource {
 public:
  // Makes the platform's USB transport; only called without --simulate.
  using HardwareFactory = std::function<std::unique_ptr<Transport>()>;

  KeypadSource(const sim::SimOptions& options, const HardwareFactory& make_hardware);
  KeypadSource(const KeypadSource&) = delete;
  KeypadSource& operator=(const KeypadSource&) = delete;

  // The error for the user (without the program's name) when a virtual keypad's image file is
  // no keypad memory image, or the --simulate options do not fit together; empty when all is
  // well. Without it there is no transport.
  const std::string& Error() const { return error_; }
  Transport* GetTransport() { return transport_; }
  bool Simulated() const { return simulated_ != nullptr; }
  // The virtual keypads with --simulate; nullptr otherwise.
  sim::SimulatedKeypads* Simulation() { return simulated_.get(); }

  // Writes each virtual keypad's memory back to its image file; the error for the user, or empty
  // when all is well or there is nothing to write.
  std::string Finish() const;

 private:
  std::unique_ptr<sim::SimulatedKeypads> simulated_;
  std::unique_ptr<Transport> hardware_;
  Transport* transport_ = nullptr;
  std::string error_;
};

}  // namespace qp40
