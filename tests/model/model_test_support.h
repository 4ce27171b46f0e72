#pragma once

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "model/configuration.h"
#include "support/log_doubles.h"
#include "support/temp_folder.h"

namespace qp40::testing {

class CountingRefresher : public LabelRefresher {
 public:
  void RefreshKeyLabels() override { ++count; }
  int count = 0;
};

// A log with a sink, a notifier and a refresher, as the window provides them.
struct Surroundings {
  Surroundings() { log.SetSink(&sink); }
  FixedClock clock;
  RecordingNotifier notifier;
  RecordingSink sink;
  Log log{clock, notifier};
  CountingRefresher refresher;
};

// A configuration whose every byte tells where it came from: the image counts up from `seed`,
// each profile holds the default key code map, the tables count from other seeds, and the
// working copy shows profile 0.
inline Configuration SampleConfiguration(std::uint8_t firmware, std::uint8_t seed = 1) {
  Configuration config;
  for (std::size_t i = 0; i < config.profile_image.size(); ++i) {
    config.profile_image[i] = static_cast<std::uint8_t>(seed + i * 7);
  }
  for (std::size_t p = 0; p < kProfileCount; ++p) {
    for (std::size_t k = 0; k < kGridKeyCount; ++k) {
      config.profile_image[p * kProfileSize + kKeyCodeMapOffset + k] = kDefaultKeyCodeMap[k];
    }
    config.profile_image[p * kProfileSize + kSettingsOffset + kSettingFirmware] = firmware;
  }
  for (std::size_t i = 0; i < kTextTableSize; ++i) {
    config.burst_table[i] = static_cast<std::uint8_t>(seed + 3 * i);
    config.string_unit_table[i] = static_cast<std::uint8_t>(seed + 5 * i + 1);
  }
  FillWorkingCopy(config, 0);
  return config;
}

inline bool SameConfiguration(const Configuration& a, const Configuration& b) {
  return a.profile_image == b.profile_image && a.working_profile == b.working_profile &&
         a.key_code_map == b.key_code_map && a.burst_table == b.burst_table &&
         a.string_unit_table == b.string_unit_table && a.current_profile == b.current_profile &&
         a.profile_block_number == b.profile_block_number &&
         a.loaded_backup_type == b.loaded_backup_type;
}

inline std::vector<std::uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

// The type word as it is stored: little-endian.
inline std::vector<std::uint8_t> TypeWordBytes(std::uint32_t type_word) {
  return {static_cast<std::uint8_t>(type_word), static_cast<std::uint8_t>(type_word >> 8),
          static_cast<std::uint8_t>(type_word >> 16), static_cast<std::uint8_t>(type_word >> 24)};
}

// A file of `size` bytes of `fill` that starts with the type word, or as much of it as fits.
// Made at its full size at once: growing the four-byte vector by resize() makes g++ 12 at -O3
// report a false -Warray-bounds in the inlined move of the old bytes.
inline std::vector<std::uint8_t> TypeWordFile(std::uint32_t type_word, std::size_t size,
                                              std::uint8_t fill) {
  std::vector<std::uint8_t> file(size, fill);
  const std::vector<std::uint8_t> word = TypeWordBytes(type_word);
  std::copy_n(word.begin(), std::min(size, word.size()), file.begin());
  return file;
}

}  // namespace qp40::testing
