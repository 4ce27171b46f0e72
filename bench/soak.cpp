// A long run of the tool's main road on a virtual keypad that misbehaves once per cycle: load the
// configuration, edit a key, a board setting, a burst and a string byte, save it back. After
// every cycle the keypad's whole memory is compared with the bytes the edits should have left
// there, worked out here without the model's code. One fault per cycle fails one try at most,
// so every cycle must end with the expected image and exactly one failed try.
//
//   soak [--seed=N] [--cycles=N]
//
// Prints the cycles run, the faults injected, the failed tries and the differences; exits with
// 1 when any cycle ended with a difference.
#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "model/configuration.h"
#include "model/profile_ops.h"
#include "sim_rig.h"

namespace {

using qp40::sim::FaultKind;

constexpr std::uint64_t kDefaultSeed = 14;
constexpr std::uint64_t kDefaultCycles = 10000;
// Requests of a fault-free cycle: a load reads five blocks and the identity, a save prepares and
// writes five blocks.
constexpr std::uint64_t kLoadRequests = 5 * qp40::kPagesPerBlock + 1;
constexpr std::uint64_t kSaveRequests = 5 * (qp40::kPagesPerBlock + 1);
constexpr std::uint64_t kCycleRequests = kLoadRequests + kSaveRequests;
// Differences shown in full; the rest are only counted.
constexpr int kShownDifferences = 10;

constexpr std::array<FaultKind, 4> kFaultKinds = {FaultKind::kDrop, FaultKind::kStatus,
                                                  FaultKind::kEcho, FaultKind::kLate};
constexpr std::array<const char*, 4> kFaultNames = {"drop", "status", "echo", "late"};

struct Options {
  std::uint64_t seed = kDefaultSeed;
  std::uint64_t cycles = kDefaultCycles;
};

std::optional<std::uint64_t> ParseNumber(std::string_view text) {
  std::uint64_t value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
  return value;
}

// --name=N or --name N; false on anything it does not know.
bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    std::string_view value;
    const std::size_t equals = arg.find('=');
    if (equals != std::string_view::npos) {
      value = arg.substr(equals + 1);
      arg = arg.substr(0, equals);
    } else if (i + 1 < argc) {
      value = argv[++i];
    }
    const std::optional<std::uint64_t> number = ParseNumber(value);
    if (!number) return false;
    if (arg == "--seed") {
      options.seed = *number;
    } else if (arg == "--cycles") {
      options.cycles = *number;
    } else {
      return false;
    }
  }
  return true;
}

using Memory = std::vector<std::uint8_t>;

Memory KeypadMemory(const qp40::sim::VirtualKeypad& keypad) {
  Memory memory;
  memory.reserve(qp40::sim::kImageSize);
  for (std::size_t block = 0; block < qp40::kBlockCount; ++block) {
    const auto data = keypad.BlockData(static_cast<std::uint8_t>(block));
    memory.insert(memory.end(), data.begin(), data.end());
  }
  return memory;
}

std::size_t BlockStart(std::uint8_t block) { return std::size_t{block} * qp40::kBlockSize; }

// What the load must have brought into the configuration: the five blocks, byte for byte.
bool LoadMatches(const qp40::Configuration& config, const Memory& expected) {
  const auto same = [&](std::uint8_t block, const std::uint8_t* data) {
    return std::equal(data, data + qp40::kBlockSize, expected.begin() + BlockStart(block));
  };
  return same(qp40::kProfileBlock, config.profile_image.data()) &&
         same(qp40::kBurstBlockFirst, config.burst_table.data()) &&
         same(qp40::kBurstBlockSecond, config.burst_table.data() + qp40::kBlockSize) &&
         same(qp40::kStringBlockFirst, config.string_unit_table.data()) &&
         same(qp40::kStringBlockSecond, config.string_unit_table.data() + qp40::kBlockSize);
}

struct Totals {
  std::uint64_t cycles = 0;
  std::uint64_t faults = 0;
  std::array<std::uint64_t, kFaultKinds.size()> faults_by_kind{};
  std::uint64_t failed_tries = 0;
  std::uint64_t differences = 0;
  std::uint64_t bytes_different = 0;
};

class Soak {
 public:
  explicit Soak(std::uint64_t seed) : random_(seed), expected_(KeypadMemory(rig_.keypad)) {}

  bool Attached() const { return rig_.attached; }
  const Totals& Result() const { return totals_; }

  void RunCycle() {
    ++totals_.cycles;
    const std::size_t kind = Pick(kFaultKinds.size());
    const std::uint64_t request = rig_.keypad.RequestCount() + 1 + Pick(kCycleRequests);
    rig_.keypad.ClearFaults();
    rig_.keypad.AddFault({kFaultKinds[kind], request});
    const std::uint16_t tries_failed_before = rig_.link.TxErrorCount();

    qp40::Configuration config;
    const qp40::TransferReport load =
        qp40::LoadConfiguration(config, rig_.link, rig_.log, refresher_);
    std::vector<std::string> problems;
    if (load.failed_pages != 0) problems.push_back("the load lost pages");
    if (!LoadMatches(config, expected_)) problems.push_back("the load read other bytes");
    if (rig_.link.GetDeviceId() != rig_.keypad.Identity()) {
      problems.push_back("the load read another identity");
    }

    Edit(config);
    const qp40::TransferReport save = qp40::SaveConfiguration(config, rig_.link, rig_.log);
    if (save.failed_pages != 0) problems.push_back("the save lost pages");

    if (rig_.keypad.RequestCount() >= request) {
      ++totals_.faults;
      ++totals_.faults_by_kind[kind];
    } else {
      problems.push_back("the fault was never reached");
    }
    const int failed_tries = rig_.link.TxErrorCount() - tries_failed_before;
    totals_.failed_tries += static_cast<std::uint64_t>(failed_tries);
    if (failed_tries != 1) {
      problems.push_back(std::to_string(failed_tries) + " tries failed instead of 1");
    }

    const Memory actual = KeypadMemory(rig_.keypad);
    std::size_t first_difference = actual.size();
    std::uint64_t bytes_different = 0;
    for (std::size_t i = 0; i < actual.size(); ++i) {
      if (actual[i] == expected_[i]) continue;
      first_difference = std::min(first_difference, i);
      ++bytes_different;
    }
    if (bytes_different != 0) {
      totals_.bytes_different += bytes_different;
      problems.push_back(std::to_string(bytes_different) + " bytes differ, the first in block " +
                         std::to_string(first_difference / qp40::kBlockSize) + " at " +
                         std::to_string(first_difference % qp40::kBlockSize));
      // Go on from what the keypad holds, so one fault is not counted again in every cycle.
      expected_ = actual;
    }

    if (problems.empty()) return;
    if (++totals_.differences <= kShownDifferences) {
      std::printf("cycle %llu (%s@%llu):", static_cast<unsigned long long>(totals_.cycles),
                  kFaultNames[kind], static_cast<unsigned long long>(request));
      for (const std::string& problem : problems) std::printf(" %s;", problem.c_str());
      std::printf("\n");
    }
  }

 private:
  std::uint64_t Pick(std::uint64_t count) {
    return std::uniform_int_distribution<std::uint64_t>(0, count - 1)(random_);
  }
  std::uint8_t RandomByte() { return static_cast<std::uint8_t>(Pick(256)); }

  // One key of a random profile, its board type, one burst byte and one string byte; the same
  // changes go into the expected memory.
  void Edit(qp40::Configuration& config) {
    const auto profile = static_cast<std::uint8_t>(Pick(qp40::kProfileCount));
    qp40::SelectProfile(config, profile, refresher_);

    const std::size_t position = Pick(qp40::kGridKeyCount);
    qp40::KeyActionRecord record{};
    do {
      // An action code 0x80..0xBF and any operands, but never the profile-switch key, which a
      // save copies into every profile.
      record = {static_cast<std::uint8_t>(0x80 + Pick(0x40)), RandomByte(), RandomByte(),
                RandomByte()};
    } while (qp40::IsProfileSwitchRecord(record));
    qp40::SetWorkingRecord(config.working_profile, position, record);
    const std::uint8_t key_code =
        expected_[BlockStart(qp40::kProfileBlock) + qp40::kKeyCodeMapOffset + position];
    if (key_code <= qp40::kLastSlotKeyCode) {
      const std::size_t slot = BlockStart(qp40::kProfileBlock) + qp40::kProfileSize * profile +
                               qp40::kSlotSize * key_code;
      std::copy(record.begin(), record.end(), expected_.begin() + slot);
    }

    const std::uint8_t board_type = RandomByte();
    qp40::BoardSettings(config.working_profile).SetBoardType(board_type);
    expected_[BlockStart(qp40::kProfileBlock) + qp40::kProfileSize * profile +
              qp40::kSettingsOffset + qp40::kSettingBoardType] = board_type;

    const std::size_t burst = Pick(qp40::kTextTableSize);
    config.burst_table[burst] = RandomByte();
    expected_[BlockStart(qp40::kBurstBlockFirst) + burst] = config.burst_table[burst];
    const std::size_t unit = Pick(qp40::kTextTableSize);
    config.string_unit_table[unit] = RandomByte();
    expected_[BlockStart(qp40::kStringBlockFirst) + unit] = config.string_unit_table[unit];
  }

  qp40::bench::SimRig rig_;
  qp40::bench::NoRefresh refresher_;
  std::mt19937_64 random_;
  Memory expected_;
  Totals totals_;
};

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::fprintf(stderr, "usage: soak [--seed=N] [--cycles=N]\n");
    return 2;
  }
  Soak soak(options.seed);
  if (!soak.Attached()) {
    std::fprintf(stderr, "soak: the virtual keypad did not attach\n");
    return 1;
  }
  const auto start = std::chrono::steady_clock::now();
  for (std::uint64_t cycle = 0; cycle < options.cycles; ++cycle) soak.RunCycle();
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;

  const Totals& totals = soak.Result();
  std::printf("seed %llu: %llu cycles, %llu faults injected (",
              static_cast<unsigned long long>(options.seed),
              static_cast<unsigned long long>(totals.cycles),
              static_cast<unsigned long long>(totals.faults));
  for (std::size_t kind = 0; kind < kFaultKinds.size(); ++kind) {
    std::printf("%s%s %llu", kind == 0 ? "" : ", ", kFaultNames[kind],
                static_cast<unsigned long long>(totals.faults_by_kind[kind]));
  }
  std::printf("), %llu failed tries, %llu differences (%llu bytes), %.1f s\n",
              static_cast<unsigned long long>(totals.failed_tries),
              static_cast<unsigned long long>(totals.differences),
              static_cast<unsigned long long>(totals.bytes_different), elapsed.count());
  return totals.differences == 0 ? 0 : 1;
}
