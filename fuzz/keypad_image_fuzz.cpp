// A keypad image file: the virtual keypad reads it, the tool loads the configuration from it
// and saves it back.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "link/keypad_link.h"
#include "model/profile_ops.h"
#include "sim/sim_transport.h"
#include "sim/virtual_keypad.h"

namespace {

using namespace qp40;

namespace fs = std::filesystem;

// One file per process, so that fuzzers run side by side do not share it.
const std::string& ImagePath() {
  static const std::string path =
      (fs::temp_directory_path() /
       ("qp40-fuzz-image-" + std::to_string(std::random_device{}()) + ".img"))
          .string();
  return path;
}

std::vector<std::uint8_t> Memory(const sim::VirtualKeypad& keypad) {
  std::vector<std::uint8_t> memory;
  memory.reserve(sim::kImageSize);
  for (std::size_t block = 0; block < kBlockCount; ++block) {
    const auto data = keypad.BlockData(static_cast<std::uint8_t>(block));
    memory.insert(memory.end(), data.begin(), data.end());
  }
  return memory;
}

std::span<const std::uint8_t> BlockOf(const std::vector<std::uint8_t>& memory, std::uint8_t block) {
  return std::span(memory).subspan(std::size_t{block} * kBlockSize, kBlockSize);
}

bool SameBytes(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end());
}

// The configuration's bytes of each block a save writes.
std::span<const std::uint8_t> SavedBytes(const Configuration& config, std::uint8_t block) {
  switch (block) {
    case kBurstBlockFirst:
      return std::span(config.burst_table).first(kBlockSize);
    case kBurstBlockSecond:
      return std::span(config.burst_table).last(kBlockSize);
    case kStringBlockFirst:
      return std::span(config.string_unit_table).first(kBlockSize);
    case kStringBlockSecond:
      return std::span(config.string_unit_table).last(kBlockSize);
    default:
      return config.profile_image;
  }
}

constexpr std::uint8_t kSavedBlocks[] = {kProfileBlock, kBurstBlockFirst, kBurstBlockSecond,
                                         kStringBlockFirst, kStringBlockSecond};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  {
    std::ofstream file(ImagePath(), std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    QP40_REQUIRE(file.good());
  }
  sim::VirtualKeypad keypad;
  keypad.SetRecordRequests(false);
  const std::vector<std::uint8_t> factory = Memory(keypad);
  const bool loaded = keypad.LoadImage(ImagePath());
  std::remove(ImagePath().c_str());
  QP40_REQUIRE(loaded == (size == sim::kImageSize));
  const std::vector<std::uint8_t> image = Memory(keypad);
  if (!loaded) {
    // A file that is no image leaves the factory memory as it was.
    QP40_REQUIRE(image == factory);
    return 0;
  }
  QP40_REQUIRE(std::equal(image.begin(), image.end(), data, data + size));

  fuzz::Surroundings env;
  sim::SimTransport transport(keypad);
  KeypadLink link(transport, env.log, env.notifier);
  QP40_REQUIRE(link.AttachKeypad());
  Configuration config;
  QP40_REQUIRE(LoadConfiguration(config, link, env.log, env.refresher).failed_pages == 0);
  QP40_REQUIRE(SameBytes(config.profile_image, BlockOf(image, kProfileBlock)));
  QP40_REQUIRE(
      SameBytes(std::span(config.burst_table).first(kBlockSize), BlockOf(image, kBurstBlockFirst)));
  QP40_REQUIRE(
      SameBytes(std::span(config.burst_table).last(kBlockSize), BlockOf(image, kBurstBlockSecond)));
  QP40_REQUIRE(SameBytes(std::span(config.string_unit_table).first(kBlockSize),
                         BlockOf(image, kStringBlockFirst)));
  QP40_REQUIRE(SameBytes(std::span(config.string_unit_table).last(kBlockSize),
                         BlockOf(image, kStringBlockSecond)));
  QP40_REQUIRE(link.GetDeviceId() == keypad.Identity());
  QP40_REQUIRE(config.current_profile == 0);
  fuzz::CheckEveryLabel(config);

  // A save writes its five blocks as the configuration holds them and no other block.
  QP40_REQUIRE(SaveConfiguration(config, link, env.log).failed_pages == 0);
  const std::vector<std::uint8_t> saved = Memory(keypad);
  for (std::size_t block = 0; block < kBlockCount; ++block) {
    const auto id = static_cast<std::uint8_t>(block);
    const bool written =
        std::find(std::begin(kSavedBlocks), std::end(kSavedBlocks), id) != std::end(kSavedBlocks);
    QP40_REQUIRE(
        SameBytes(BlockOf(saved, id), written ? SavedBytes(config, id) : BlockOf(image, id)));
  }
  return 0;
}
