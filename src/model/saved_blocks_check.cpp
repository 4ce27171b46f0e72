#include "model/saved_blocks_check.h"

#include <algorithm>
#include <span>
#include <utility>

namespace qp40 {

std::vector<SavedBlockCheck> CheckSavedBlocks(const Configuration& config, KeypadLink& link) {
  const std::span<const std::uint8_t, kTextTableSize> burst(config.burst_table);
  const std::span<const std::uint8_t, kTextTableSize> strings(config.string_unit_table);
  const std::pair<std::uint8_t, std::span<const std::uint8_t, kBlockSize>> written[] = {
      {config.profile_block_number, config.profile_image},
      {kBurstBlockFirst, burst.first<kBlockSize>()},
      {kBurstBlockSecond, burst.last<kBlockSize>()},
      {kStringBlockFirst, strings.first<kBlockSize>()},
      {kStringBlockSecond, strings.last<kBlockSize>()},
  };
  std::vector<SavedBlockCheck> checks;
  for (const auto& [block, data] : written) {
    Block read_back{};
    SavedBlockState state = SavedBlockState::kUnreadable;
    if (link.ReadBlock(block, read_back) == 0) {
      state = std::equal(data.begin(), data.end(), read_back.begin()) ? SavedBlockState::kMatches
                                                                      : SavedBlockState::kDiffers;
    }
    checks.push_back({block, state});
  }
  return checks;
}

bool AllSavedBlocksMatch(const std::vector<SavedBlockCheck>& checks) {
  return std::all_of(checks.begin(), checks.end(), [](const SavedBlockCheck& check) {
    return check.state == SavedBlockState::kMatches;
  });
}

}  // namespace qp40
