#include "app/ctl/keypad_session.h"

#include <filesystem>
#include <system_error>

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
  if (options_.simulate) {
    const int status = PrepareVirtualKeypad();
    if (status != kExitOk) return status;
    transport_ = std::make_unique<sim::SimTransport>(*virtual_keypad_);
  } else {
    transport_ = MakeHardwareTransport();
  }
  watching_transport_ = std::make_unique<OpenWatchingTransport>(*transport_);
  link_ = std::make_unique<KeypadLink>(*watching_transport_, log_, notifier_);
  if (!link_->AttachKeypad()) {
    ExplainMissingKeypad();
    return kExitNoKeypad;
  }
  link_->SetConnected(true);
  return kExitOk;
}

int KeypadSession::PrepareVirtualKeypad() {
  virtual_keypad_ = std::make_unique<sim::VirtualKeypad>();
  // A command runs a few hundred exchanges; there is no test here that reads them back.
  virtual_keypad_->SetRecordRequests(false);
  for (const sim::Fault& fault : options_.sim_faults) virtual_keypad_->AddFault(fault);
  virtual_keypad_->SetLatencyMicroseconds(options_.sim_latency_us);

  const std::string& image = options_.sim_image;
  if (image.empty()) return kExitOk;
  std::error_code error;
  if (std::filesystem::exists(image, error)) {
    if (!virtual_keypad_->LoadImage(image)) {
      err_ << "qp40ctl: " << image << ": not a keypad memory image (it must be " << sim::kImageSize
           << " bytes: 128 blocks of 2048 bytes); left unchanged\n";
      return kExitFailed;
    }
  }
  // A new image starts from the factory image and is created when the command ends.
  keep_image_ = true;
  return kExitOk;
}

void KeypadSession::ExplainMissingKeypad() {
  const auto& path = watching_transport_->OpenedPath();
  if (!path) {
    err_ << "qp40ctl: no QP40 keypad found. Plug it in while holding its top-right key, so that "
            "it starts in Management mode (USB ID 04b4:0820).\n";
  } else if (watching_transport_->PermissionDenied()) {
    err_ << "qp40ctl: found the keypad at " << *path
         << " but may not open it (permission denied). Install the udev rule "
            "packaging/70-qp40.rules into /etc/udev/rules.d/, run 'udevadm control --reload', "
            "then plug the keypad in again.\n";
  } else {
    err_ << "qp40ctl: found the keypad at " << *path
         << " but could not open it; another program may be using it.\n";
  }
}

bool KeypadSession::Finish() {
  if (link_ != nullptr) link_->CloseKeypad();
  if (!keep_image_) return true;
  if (!virtual_keypad_->SaveImage(options_.sim_image)) {
    err_ << "qp40ctl: " << options_.sim_image
         << ": could not write the virtual keypad's memory back\n";
    return false;
  }
  return true;
}

}  // namespace qp40::ctl
