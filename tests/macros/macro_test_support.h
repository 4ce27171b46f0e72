#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "link/keypad_link.h"
#include "model/configuration.h"
#include "model/model_test_support.h"
#include "sim/sim_transport.h"
#include "sim/virtual_keypad.h"

namespace qp40::testing {

// The virtual keypad behind an open link, with a log that keeps its lines.
class KeypadFixture : public ::testing::Test {
 protected:
  explicit KeypadFixture(std::uint8_t firmware = kFirmwareNewStrings) : keypad(firmware) {
    EXPECT_TRUE(link.AttachKeypad());
    env.sink.lines.clear();
    config.working_profile[kWorkingSettingsOffset + kSettingFirmware] = firmware;
  }

  // Makes a page exchange fail on all of its tries: the next one, or the one after
  // `pages_before` successful exchanges.
  void FailNextPage(unsigned pages_before = 0) {
    for (int i = 1; i <= kTriesPerExchange; ++i) {
      keypad.AddFault(
          {sim::FaultKind::kDrop, keypad.RequestCount() + pages_before + static_cast<unsigned>(i)});
    }
  }

  // Command and argument of every request since `first`, with repeats of the same pair (the
  // pages of one block) folded into one.
  std::vector<std::pair<std::uint8_t, std::uint8_t>> CommandsSince(std::size_t first) const {
    std::vector<std::pair<std::uint8_t, std::uint8_t>> commands;
    const auto& requests = keypad.Requests();
    for (std::size_t i = first; i < requests.size(); ++i) {
      const std::pair pair{requests[i][kCommandByte], requests[i][kArgumentByte]};
      if (commands.empty() || commands.back() != pair) {
        commands.push_back(pair);
      }
    }
    return commands;
  }

  sim::VirtualKeypad keypad;
  sim::SimTransport transport{keypad};
  Surroundings env;
  KeypadLink link{transport, env.log, env.notifier};
  Configuration config;
};

}  // namespace qp40::testing
