#include "model/saved_blocks_check.h"

#include <algorithm>
#include <span>

namespace qp40 {

std::vector<SavedBlockCheck> CheckSavedBlocks(const Configuration& config, KeypadLink& link,
                                              const BlockSelection& which) {
  const auto written = ConfigBlocksOf(config);
  std::vector<SavedBlockCheck> checks;
  for (std::size_t part = 0; part < kConfigBlockCount; ++part) {
    if (!which[part]) continue;
    const ConfigBlock& block = written[part];
    Block read_back{};
    SavedBlockState state = SavedBlockState::kUnreadable;
    if (link.ReadBlock(block.number, read_back) == 0) {
      state = std::equal(block.data.begin(), block.data.end(), read_back.begin())
                  ? SavedBlockState::kMatches
                  : SavedBlockState::kDiffers;
    }
    checks.push_back({block.number, state, part});
  }
  return checks;
}

bool AllSavedBlocksMatch(const std::vector<SavedBlockCheck>& checks) {
  return std::all_of(checks.begin(), checks.end(), [](const SavedBlockCheck& check) {
    return check.state == SavedBlockState::kMatches;
  });
}

}  // namespace qp40
