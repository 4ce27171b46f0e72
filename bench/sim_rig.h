// What every program in bench/ runs on: one attached link on a virtual keypad, as the tool runs
// with --simulate, with a log that goes nowhere.
#pragma once

#include <string>
#include <string_view>

#include "link/keypad_link.h"
#include "log/clock.h"
#include "log/log.h"
#include "model/configuration.h"
#include "sim/sim_transport.h"
#include "sim/virtual_keypad.h"

namespace qp40::bench {

class SilentNotifier final : public Notifier {
 public:
  void ShowMessage(std::string_view /*text*/) override {}
};

class DiscardingSink final : public LogSink {
 public:
  void OnLineAppended(std::string_view /*line*/, const std::string& /*whole_log*/) override {}
};

class NoRefresh final : public LabelRefresher {
 public:
  void RefreshKeyLabels() override {}
};

struct SimRig {
  SimRig() {
    // Long runs would only grow memory keeping every request.
    keypad.SetRecordRequests(false);
    log.SetSink(&sink);
    attached = link.AttachKeypad().Opened();
  }
  sim::VirtualKeypad keypad;
  sim::SimTransport transport{keypad};
  SystemClock clock;
  SilentNotifier notifier;
  DiscardingSink sink;
  Log log{clock, notifier};
  KeypadLink link{transport, log, notifier};
  bool attached = false;
};

}  // namespace qp40::bench
