#pragma once

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "log/clock.h"
#include "log/log.h"
#include "log/notifier.h"

namespace qp40::testing {

// A clock that always tells the same time, so log lines can be compared whole.
class FixedClock final : public Clock {
 public:
  explicit FixedClock(TimeOfDay fixed = {12, 0, 0}) : time(fixed) {}
  TimeOfDay Now() const override { return time; }
  TimeOfDay time;
};

// Keeps every message the user would have been shown.
class RecordingNotifier final : public Notifier {
 public:
  void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
  std::vector<std::string> messages;
};

// Keeps the caller's text of each log line (without the time stamp and line end), each line as
// it was appended, and the whole log as the sink last saw it.
class RecordingSink final : public LogSink {
 public:
  void OnLineAppended(std::string_view line, const std::string& whole_log) override {
    raw_lines.emplace_back(line);
    lines.emplace_back(line.substr(0, line.rfind(kStampStart)));
    last_whole = whole_log;
  }
  int Count(std::string_view text) const {
    return static_cast<int>(std::count(lines.begin(), lines.end(), text));
  }
  void Clear() {
    lines.clear();
    raw_lines.clear();
  }

  std::vector<std::string> lines;
  std::vector<std::string> raw_lines;
  std::string last_whole;

 private:
  static constexpr std::string_view kStampStart = "      (";
};

}  // namespace qp40::testing
