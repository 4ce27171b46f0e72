#include "session/keypad_source.h"

namespace qp40 {

KeypadSource::KeypadSource(const sim::SimOptions& options, const HardwareFactory& make_hardware) {
  if (options.simulate) {
    error_ = sim::CheckSimKeypads(options);
    if (!error_.empty()) return;
    simulated_ = std::make_unique<sim::SimulatedKeypads>(options);
    error_ = simulated_->LoadImages();
    if (error_.empty()) transport_ = &simulated_->GetTransport();
    return;
  }
  if (make_hardware) hardware_ = make_hardware();
  transport_ = hardware_.get();
  if (transport_ == nullptr) error_ = "no USB access on this system";
}

std::string KeypadSource::Finish() const {
  // An image that could not be read is never written over.
  if (simulated_ == nullptr || !error_.empty()) return {};
  return simulated_->SaveImages();
}

}  // namespace qp40
