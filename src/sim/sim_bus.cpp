#include "sim/sim_bus.h"

namespace qp40::sim {

std::vector<HidInterfaceInfo> SimBus::ListInterfaces() {
  std::vector<HidInterfaceInfo> interfaces;
  for (SimTransport* transport : transports_) {
    std::vector<HidInterfaceInfo> listed = transport->ListInterfaces();
    interfaces.insert(interfaces.end(), listed.begin(), listed.end());
  }
  return interfaces;
}

SimTransport* SimBus::Find(const std::string& path) const {
  for (SimTransport* transport : transports_) {
    if (transport->Path() == path) return transport;
  }
  return nullptr;
}

OpenResult<ReadChannel> SimBus::OpenRead(const std::string& path) {
  SimTransport* transport = Find(path);
  if (transport == nullptr) return {nullptr, OpenError::kOther};
  return transport->OpenRead(path);
}

OpenResult<WriteChannel> SimBus::OpenWrite(const std::string& path) {
  SimTransport* transport = Find(path);
  if (transport == nullptr) return {nullptr, OpenError::kOther};
  return transport->OpenWrite(path);
}

}  // namespace qp40::sim
