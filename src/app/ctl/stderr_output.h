#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "log/log.h"
#include "log/notifier.h"

namespace qp40::ctl {

// Message boxes of the core become lines on stderr; nothing waits for an OK.
class StderrNotifier final : public Notifier {
 public:
  explicit StderrNotifier(std::ostream& out) : out_(out) {}

  void ShowMessage(std::string_view text) override;

 private:
  std::ostream& out_;
};

// Shows the log on stderr when asked to, one line per log line in the log's own format; keeps
// quiet otherwise.
class StderrLogSink final : public LogSink {
 public:
  StderrLogSink(std::ostream& out, bool echo) : out_(out), echo_(echo) {}

  void OnLineAppended(std::string_view line, const std::string& whole_log) override;

 private:
  std::ostream& out_;
  bool echo_;
};

// One line of the log as stderr shows it: without its CR LF and without the line breaks that
// some texts carry before the time stamp.
std::string SingleLine(std::string_view log_line);

}  // namespace qp40::ctl
