#pragma once

#include <string>
#include <vector>

#include "link/transport.h"
#include "sim/sim_transport.h"

namespace qp40::sim {

// Several virtual keypads on one transport, as several keypads share one USB bus: the interfaces
// of all of them in the order they were added, and each open goes to the keypad of its path.
class SimBus final : public Transport {
 public:
  // The transport must outlive the bus.
  void Add(SimTransport& transport) { transports_.push_back(&transport); }

  std::vector<HidInterfaceInfo> ListInterfaces() override;
  OpenResult<ReadChannel> OpenRead(const std::string& path) override;
  OpenResult<WriteChannel> OpenWrite(const std::string& path) override;

 private:
  SimTransport* Find(const std::string& path) const;

  std::vector<SimTransport*> transports_;
};

}  // namespace qp40::sim
