#include "sim/deadline_wait.h"

#include <thread>

namespace qp40::sim {

void WaitUntil(std::chrono::steady_clock::time_point deadline) {
  using Clock = std::chrono::steady_clock;
  if (deadline - Clock::now() > kSpinMargin) {
    std::this_thread::sleep_until(deadline - kSpinMargin);
  }
  while (Clock::now() < deadline) {
  }
}

}  // namespace qp40::sim
