#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/configuration.h"

namespace qp40::ctl {

// One key of a profile as `dump` shows it.
struct DumpedKey {
  int row = 0;
  int column = 0;
  KeyActionRecord record{};
  std::optional<int> type;                   // none when the action code is not recognised
  std::array<std::uint8_t, 5> parameters{};  // P0..P4 of the editing form
  std::string label;
};

struct DumpedProfile {
  int number = 0;  // 1..4
  std::array<std::uint8_t, kSettingsSize> settings{};
  std::vector<DumpedKey> keys;
};

// A burst entry or string that some key uses.
struct DumpedText {
  int index = 0;  // burst entry index or string number
  std::string text;
  // False when only part of the text is in the backup: a long string of the older firmware
  // keeps its characters on the keypad, and the backup holds only the first 12.
  bool complete = true;
  bool present = true;  // false when the entry or unit holds no text
};

struct DumpData {
  std::uint32_t type_word = 0;
  std::vector<DumpedProfile> profiles;
  std::vector<DumpedText> bursts;
  std::vector<DumpedText> strings;
};

// Everything `dump` shows of a configuration loaded from a backup, read without changing it.
// Walks all four profiles, or only the one a one-profile backup holds.
DumpData CollectDump(const Configuration& config);

}  // namespace qp40::ctl
