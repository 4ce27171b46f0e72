#include "sim/factory_image.h"

#include <algorithm>

namespace qp40::sim {

namespace {

constexpr std::uint8_t kErased = 0xFF;

std::span<std::uint8_t, kBlockSize> BlockOf(std::span<std::uint8_t, kImageSize> memory,
                                            std::uint8_t block) {
  return memory.subspan(std::size_t{block} * kBlockSize).first<kBlockSize>();
}

void WriteProfile(std::span<std::uint8_t, kProfileSize> profile, std::uint8_t firmware_version) {
  std::fill(profile.begin(), profile.end(), 0);
  for (std::size_t k = 0; k < kFactoryKeyCount; ++k) {
    const std::size_t slot = std::size_t{kFactoryKeyCodeMap[k]} * kSlotSize;
    profile[slot] = kActionKeyboardKey;
    profile[slot + 1] = kFactoryKeyUsages[k];
    profile[kKeyCodeMapOffset + k] = kFactoryKeyCodeMap[k];
  }
  profile[kSettingsOffset] = kBoardType48Keys;
  profile[kSettingsOffset + kSettingFirmware] = firmware_version;
}

}  // namespace

void WriteFactoryImage(std::span<std::uint8_t, kImageSize> memory, std::uint8_t firmware_version) {
  std::fill(memory.begin(), memory.end(), kErased);
  const auto profiles = BlockOf(memory, kProfileBlock);
  for (std::size_t p = 0; p < kProfileCount; ++p) {
    WriteProfile(profiles.subspan(p * kProfileSize).first<kProfileSize>(), firmware_version);
  }
  // A unit whose first byte is not 0xAA is free in either string layout; a zero length byte
  // also reads as "no text".
  for (const std::uint8_t block : {kStringBlockFirst, kStringBlockSecond}) {
    const auto data = BlockOf(memory, block);
    std::fill(data.begin(), data.end(), 0);
  }
}

}  // namespace qp40::sim
