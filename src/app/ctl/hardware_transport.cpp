#include "app/ctl/hardware_transport.h"

#ifdef _WIN32
#include "platform/windows/windows_hid_transport.h"
#else
#include "platform/hidapi_transport.h"
#endif

namespace qp40::ctl {

std::unique_ptr<Transport> MakeHardwareTransport() {
#ifdef _WIN32
  return std::make_unique<WindowsHidTransport>();
#else
  return std::make_unique<HidapiTransport>();
#endif
}

}  // namespace qp40::ctl
