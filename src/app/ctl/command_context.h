#pragma once

#include <functional>
#include <memory>
#include <ostream>

#include "app/ctl/global_options.h"
#include "app/ctl/stderr_output.h"
#include "log/clock.h"
#include "log/log.h"
#include "model/configuration.h"
#include "session/keypad_session.h"
#include "session/keypad_source.h"

namespace qp40::ctl {

// The grid of the command line is printed on demand, so the refresh has nothing to do.
class NoRefresh final : public LabelRefresher {
 public:
  void RefreshKeyLabels() override {}
};

// What every command works with: the options before it, the log, the message lines, and the
// keypad when it needs one.
class CommandContext {
 public:
  CommandContext(const GlobalOptions& options, std::ostream& out, std::ostream& err);
  ~CommandContext();
  CommandContext(const CommandContext&) = delete;
  CommandContext& operator=(const CommandContext&) = delete;

  const GlobalOptions& Options() const { return options_; }
  std::ostream& Out() { return out_; }
  std::ostream& Err() { return err_; }
  Log& GetLog() { return log_; }
  const Clock& GetClock() const { return clock_; }
  StderrNotifier& Messages() { return notifier_; }
  LabelRefresher& Refresher() { return refresher_; }

  // The transport to the keypads (USB or the virtual keypads); nullptr after stderr has said why.
  Transport* KeypadTransport();
  // Finds the keypad --device names (the only one when none is named) and opens it; nullptr
  // after stderr has said why. The exit status for that case is AttachStatus().
  KeypadSession* Keypad();
  int AttachStatus() const { return attach_status_; }

  // Ends the run: closes the keypad and keeps the virtual keypad's memory. Turns `status` into
  // the exit status: output or the virtual keypad's image that could not be written fail it.
  int Finish(int status);

 private:
  const GlobalOptions& options_;
  std::ostream& out_;
  std::ostream& err_;
  SystemClock clock_;
  StderrNotifier notifier_;
  StderrLogSink sink_;
  Log log_;
  NoRefresh refresher_;
  std::unique_ptr<KeypadSource> source_;
  std::unique_ptr<KeypadSession> session_;
  static constexpr int kNotAttached = -1;
  int attach_status_ = kNotAttached;
};

// A command's work, chosen while the command line is parsed and run after it.
using CommandAction = std::function<int(CommandContext&)>;

}  // namespace qp40::ctl
