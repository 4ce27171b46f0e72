#pragma once

#include <string>
#include <string_view>

#include "log/clock.h"
#include "log/notifier.h"

namespace qp40 {

// Where the log is shown: the main window's log pane, or stderr for the command-line tool.
class LogSink {
 public:
  virtual ~LogSink() = default;
  // Called once per appended line with the line alone (text, time stamp, CR LF) and the whole
  // log text after it, so a sink can append in O(line) or reset to the whole text.
  virtual void OnLineAppended(std::string_view line, const std::string& whole_log) = 0;
};

// The running report of the tool's work: one text, only ever appended to.
class Log {
 public:
  Log(const Clock& clock, Notifier& notifier);

  // Registers the sink that shows the log; nullptr unregisters it.
  void SetSink(LogSink* sink) { sink_ = sink; }
  bool HasSink() const { return sink_ != nullptr; }

  // Appends "text      (HH:MM:SS)\r\n". Without a registered sink the line is lost and the user
  // is shown "qlReadWindow" instead.
  void AppendLog(std::string_view text);

  const std::string& Text() const { return text_; }

 private:
  const Clock& clock_;
  Notifier& notifier_;
  LogSink* sink_ = nullptr;
  std::string text_;
};

// Formats one log line without the log: the text, six spaces, the time in parentheses, CR LF.
std::string FormatLogLine(std::string_view text, const TimeOfDay& time);

}  // namespace qp40
