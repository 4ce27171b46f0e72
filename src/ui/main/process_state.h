#pragma once

#include <cstdint>

namespace qp40 {

// Whether the process with this id still runs; a process that has ended (killed or crashed)
// left its recovery file behind for the next window.
bool ProcessRunning(std::int64_t process_id);

}  // namespace qp40
