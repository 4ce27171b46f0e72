#include "log/clock.h"

#include <ctime>

namespace qp40 {

TimeOfDay SystemClock::Now() const {
  const std::time_t now = std::time(nullptr);
  // The log is written from one thread only, so the shared result of std::localtime is safe.
  const std::tm* local = std::localtime(&now);
  if (local == nullptr) {
    return {};
  }
  return {local->tm_hour, local->tm_min, local->tm_sec};
}

}  // namespace qp40
