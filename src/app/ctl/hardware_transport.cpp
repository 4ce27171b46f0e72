#include "app/ctl/hardware_transport.h"

#include "platform/hidapi_transport.h"

namespace qp40::ctl {

std::unique_ptr<Transport> MakeHardwareTransport() { return std::make_unique<HidapiTransport>(); }

}  // namespace qp40::ctl
