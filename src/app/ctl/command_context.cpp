#include "app/ctl/command_context.h"

#include "app/ctl/exit_codes.h"
#include "app/ctl/hardware_transport.h"
#include "history/history_folder.h"
#include "session/attach_text.h"
#include "session/keypad_choice.h"

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

Transport* CommandContext::KeypadTransport() {
  if (source_ == nullptr) {
    source_ = std::make_unique<KeypadSource>(options_.sim, MakeHardwareTransport);
    if (source_->GetTransport() == nullptr) err_ << "qp40ctl: " << source_->Error() << "\n";
  }
  return source_->GetTransport();
}

KeypadSession* CommandContext::Keypad() {
  if (attach_status_ != kNotAttached) return attach_status_ == kExitOk ? session_.get() : nullptr;
  Transport* transport = KeypadTransport();
  if (transport == nullptr) {
    attach_status_ = kExitFailed;
    return nullptr;
  }
  const KeypadChoice choice = ChooseKeypad(*transport, log_, notifier_, options_.device);
  if (choice.status != ChoiceStatus::kChosen) {
    err_ << "qp40ctl: " << ChoiceProblemText(choice, options_.device);
    if (choice.status == ChoiceStatus::kNoKeypad) err_ << "\n";
    attach_status_ = choice.status == ChoiceStatus::kNoKeypad ? kExitNoKeypad : kExitUsage;
    return nullptr;
  }
  session_ = std::make_unique<KeypadSession>(*transport, log_, notifier_);
  if (auto root = HistoryRoot(ProcessEnvironment)) {
    session_->SetHistoryRoot(std::move(*root), HistoryLimitsFrom(ProcessEnvironment));
  }
  const AttachResult attached = session_->Attach(choice.path);
  if (attached.status != SessionStatus::kDone) {
    err_ << "qp40ctl: " << AttachProblemText(attached) << "\n";
    attach_status_ = kExitNoKeypad;
    return nullptr;
  }
  attach_status_ = kExitOk;
  return session_.get();
}

int CommandContext::Finish(int status) {
  out_.flush();
  // Output lost on a full disk is a failure the caller must hear of, not a success.
  if (!out_) {
    err_ << "qp40ctl: the output could not be written\n";
    if (status == kExitOk) status = kExitFailed;
  }
  // Where exchanges failed, the command's result has failed it already; this says how many.
  const int failed_exchanges = session_ != nullptr ? session_->Link().FailedExchangeCount() : 0;
  if (failed_exchanges > 0) {
    err_ << "qp40ctl: " << failed_exchanges << " exchange(s) with the keypad failed"
         << (options_.log ? "" : "; --log shows which") << "\n";
  }
  session_.reset();
  if (source_ != nullptr) {
    const std::string error = source_->Finish();
    if (!error.empty()) {
      err_ << "qp40ctl: " << error << "\n";
      if (status == kExitOk) status = kExitFailed;
    }
  }
  return status;
}

}  // namespace qp40::ctl
