#pragma once

#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "app/ctl/global_options.h"
#include "link/keypad_link.h"
#include "link/transport.h"
#include "log/log.h"
#include "log/notifier.h"
#include "sim/sim_setup.h"

namespace qp40::ctl {

// Wraps the transport to remember how the last open went, so the tool can say why a keypad
// that was found could not be used.
class OpenWatchingTransport final : public Transport {
 public:
  explicit OpenWatchingTransport(Transport& inner) : inner_(inner) {}

  std::vector<HidInterfaceInfo> ListInterfaces() override { return inner_.ListInterfaces(); }
  OpenResult<ReadChannel> OpenRead(const std::string& path) override;
  OpenResult<WriteChannel> OpenWrite(const std::string& path) override;

  // The path of the last open, when one was tried.
  const std::optional<std::string>& OpenedPath() const { return opened_path_; }
  bool PermissionDenied() const { return permission_denied_; }

 private:
  void Note(const std::string& path, OpenError error);

  Transport& inner_;
  std::optional<std::string> opened_path_;
  bool permission_denied_ = false;
};

// The keypad one run of the tool talks to: the virtual keypad with --simulate (its memory kept
// in the image file, if one is given), the USB keypad otherwise.
class KeypadSession {
 public:
  KeypadSession(const GlobalOptions& options, Log& log, Notifier& notifier, std::ostream& err);
  ~KeypadSession();
  KeypadSession(const KeypadSession&) = delete;
  KeypadSession& operator=(const KeypadSession&) = delete;

  // Finds and opens the keypad. Returns kExitOk, kExitFailed when the virtual keypad's image
  // cannot be read, or kExitNoKeypad; on failure stderr has said why.
  int Attach();
  KeypadLink& Link() { return *link_; }
  // Exchanges that failed all their tries; 0 when no link was made.
  int FailedExchangeCount() const { return link_ != nullptr ? link_->FailedExchangeCount() : 0; }

  // Ends the session: writes the virtual keypad's memory back to its image file. False, after
  // saying why, when that fails.
  bool Finish();

 private:
  void ExplainMissingKeypad();

  const GlobalOptions& options_;
  Log& log_;
  Notifier& notifier_;
  std::ostream& err_;

  std::unique_ptr<sim::SimulatedKeypad> simulated_keypad_;
  std::unique_ptr<Transport> hardware_transport_;
  std::unique_ptr<OpenWatchingTransport> watching_transport_;
  std::unique_ptr<KeypadLink> link_;
};

}  // namespace qp40::ctl
