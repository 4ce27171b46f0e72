#pragma once

#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "model/model_test_support.h"
#include "session/keypad_session.h"
#include "sim/sim_transport.h"
#include "sim/virtual_keypad.h"

namespace qp40::testing {

// A keypad session attached to the virtual keypad, with a log that keeps its lines.
struct SessionRig {
  explicit SessionRig(std::uint8_t firmware = kFirmwareNewStrings) : keypad(firmware) {
    EXPECT_EQ(session.Attach().status, SessionStatus::kDone);
    env.sink.lines.clear();
    config.working_profile[kWorkingSettingsOffset + kSettingFirmware] = firmware;
  }

  // Makes the page exchange after `pages_before` successful ones fail on all of its tries.
  void FailPage(unsigned pages_before) {
    for (int i = 1; i <= kTriesPerExchange; ++i) {
      keypad.AddFault(
          {sim::FaultKind::kDrop, keypad.RequestCount() + pages_before + static_cast<unsigned>(i)});
    }
  }

  // The blocks written (prepared) and read by the requests since `first`, each once per run of
  // pages: {command, block}.
  std::vector<std::pair<std::uint8_t, std::uint8_t>> CommandsSince(std::size_t first) const {
    std::vector<std::pair<std::uint8_t, std::uint8_t>> commands;
    const auto& requests = keypad.Requests();
    for (std::size_t i = first; i < requests.size(); ++i) {
      const std::pair pair{requests[i][kCommandByte], requests[i][kArgumentByte]};
      if (commands.empty() || commands.back() != pair) commands.push_back(pair);
    }
    return commands;
  }

  sim::VirtualKeypad keypad;
  sim::SimTransport transport{keypad};
  Surroundings env;
  KeypadSession session{transport, env.log, env.notifier};
  Configuration& config = session.Config();
  // A link that is never opened, for setting up chained strings, which need no keypad.
  KeypadLink spare_link{transport, env.log, env.notifier};
};

// The same for a test of its own.
class SessionFixture : public ::testing::Test, public SessionRig {};

}  // namespace qp40::testing
