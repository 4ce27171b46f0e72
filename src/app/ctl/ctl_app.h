#pragma once

#include <ostream>

namespace qp40::ctl {

// Runs qp40ctl on its command line and returns the exit status.
int RunCtl(int argc, char** argv, std::ostream& out, std::ostream& err);

}  // namespace qp40::ctl
