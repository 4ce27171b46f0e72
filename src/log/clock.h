#pragma once

namespace qp40 {

// Local time of day, as shown in every log line.
struct TimeOfDay {
  int hours = 0;
  int minutes = 0;
  int seconds = 0;
};

// Source of the time of day; tests inject a fixed one.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual TimeOfDay Now() const = 0;
};

// The machine's local time.
class SystemClock final : public Clock {
 public:
  TimeOfDay Now() const override;
};

}  // namespace qp40
