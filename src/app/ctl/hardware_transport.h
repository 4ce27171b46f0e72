#pragma once

#include <memory>

#include "link/transport.h"

namespace qp40::ctl {

// The transport to real keypads on USB.
std::unique_ptr<Transport> MakeHardwareTransport();

}  // namespace qp40::ctl
