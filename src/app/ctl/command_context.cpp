#include "app/ctl/command_context.h"

#include "app/ctl/exit_codes.h"

namespace qp40::ctl {

CommandContext::CommandContext(const GlobalOptions& options, std::ostream& out, std::ostream& err)
    : options_(options),
      out_(out),
      err_(err),
      notifier_(err),
      sink_(err, options.log),
      log_(clock_, notifier_) {
  // The log always has a sink: without one every line would become a message.
  log_.SetSink(&sink_);
}

CommandContext::~CommandContext() { log_.SetSink(nullptr); }

KeypadLink* CommandContext::Keypad() {
  if (session_ == nullptr) {
    session_ = std::make_unique<KeypadSession>(options_, log_, notifier_, err_);
    attach_status_ = session_->Attach();
  }
  return attach_status_ == kExitOk ? &session_->Link() : nullptr;
}

int CommandContext::Finish(int status) {
  out_.flush();
  // Output lost on a full disk is a failure the caller must hear of, not a success.
  if (!out_) {
    err_ << "qp40ctl: the output could not be written\n";
    if (status == kExitOk) status = kExitFailed;
  }
  if (session_ != nullptr && !session_->Finish() && status == kExitOk) status = kExitFailed;
  const int failed_exchanges = session_ != nullptr ? session_->FailedExchangeCount() : 0;
  if (failed_exchanges > 0) {
    err_ << "qp40ctl: " << failed_exchanges << " exchange(s) with the keypad failed"
         << (options_.log ? "" : "; --log shows which") << "\n";
    if (status == kExitOk) status = kExitFailed;
  }
  return status;
}

}  // namespace qp40::ctl
