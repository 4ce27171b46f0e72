#include "app/ctl/keypad_session.h"

#include "app/ctl/exit_codes.h"
#include "app/ctl/hardware_transport.h"

namespace qp40::ctl {

OpenResult<ReadChannel> OpenWatchingTransport::OpenRead(const std::string& path) {
  OpenResult<ReadChannel> result = inner_.OpenRead(path);
  Note(path, result.error);
  return result;
}

OpenResult<WriteChannel> OpenWatchingTransport::OpenWrite(const std::string& path) {
  OpenResult<WriteChannel> result = inner_.OpenWrite(path);
  Note(path, result.error);
  return result;
}

void OpenWatchingTransport::Note(const std::string& path, OpenError error) {
  opened_path_ = path;
  if (error == OpenError::kPermissionDenied) permission_denied_ = true;
}

KeypadSession::KeypadSession(const GlobalOptions& options, Log& log, Notifier& notifier,
                             std::ostream& err)
    : options_(options), log_(log), notifier_(notifier), err_(err) {}

KeypadSession::~KeypadSession() = default;

int KeypadSession::Attach() {
  Transport* transport = nullptr;
  if (options_.sim.simulate) {
    simulated_keypad_ = std::make_unique<sim::SimulatedKeypad>(options_.sim);
    const std::string error = simulated_keypad_->LoadImage();
    if (!error.empty()) {
      err_ << "qp40ctl: " << error << "\n";
      return kExitFailed;
    }
    transport = &simulated_keypad_->GetTransport();
  } else {
    hardware_transport_ = MakeHardwareTransport();
    transport = hardware_transport_.get();
  }
  watching_transport_ = std::make_unique<OpenWatchingTransport>(*transport);
  link_ = std::make_unique<KeypadLink>(*watching_transport_, log_, notifier_);
  if (!link_->AttachKeypad()) {
    ExplainMissingKeypad();
    return kExitNoKeypad;
  }
  link_->SetConnected(true);
  return kExitOk;
}

void KeypadSession::ExplainMissingKeypad() {
  const auto& path = watching_transport_->OpenedPath();
  if (!path) {
    err_ << "qp40ctl: no QP40 keypad found. Plug it in while holding its top-right key, so that "
            "it starts in Management mode (USB ID 04b4:0820).\n";
  } else if (watching_transport_->PermissionDenied()) {
#ifdef _WIN32
    err_ << "qp40ctl: found the keypad at " << *path
         << " but may not open it (access denied). Close other programs that use the keypad, "
            "then plug the keypad in again.\n";
#else
    err_ << "qp40ctl: found the keypad at " << *path
         << " but may not open it (permission denied). Install the udev rule "
            "packaging/70-qp40.rules into /etc/udev/rules.d/, run 'udevadm control --reload', "
            "then plug the keypad in again.\n";
#endif
  } else {
    err_ << "qp40ctl: found the keypad at " << *path
         << " but could not open it; another program may be using it.\n";
  }
}

bool KeypadSession::Finish() {
  if (link_ != nullptr) link_->CloseKeypad();
  if (simulated_keypad_ == nullptr) return true;
  const std::string error = simulated_keypad_->SaveImage();
  if (error.empty()) return true;
  err_ << "qp40ctl: " << error << "\n";
  return false;
}

}  // namespace qp40::ctl
