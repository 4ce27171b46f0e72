#pragma once

#include <chrono>

namespace qp40::sim {

// How far ahead of a deadline WaitUntil stops sleeping and starts watching the clock: a sleep on
// an idle Linux machine wakes 50 to 100 µs late. A longer margin only burns processor time.
inline constexpr std::chrono::microseconds kSpinMargin{150};

// Returns once the steady clock has reached `deadline`, and as soon after it as the scheduler
// allows: it sleeps until kSpinMargin before the deadline, then reads the clock until the
// deadline has passed. It does not yield in that last stretch: on a busy machine a yield hands
// the processor to another program for its whole time slice, several milliseconds. A deadline
// in the past returns at once.
void WaitUntil(std::chrono::steady_clock::time_point deadline);

}  // namespace qp40::sim
