#include "model/config_blocks.h"

#include <algorithm>

namespace qp40 {

std::array<ConfigBlock, kConfigBlockCount> ConfigBlocksOf(const Configuration& config) {
  const std::span<const std::uint8_t, kTextTableSize> burst(config.burst_table);
  const std::span<const std::uint8_t, kTextTableSize> strings(config.string_unit_table);
  return {{
      {config.profile_block_number, config.profile_image},
      {kBurstBlockFirst, burst.first<kBlockSize>()},
      {kBurstBlockSecond, burst.last<kBlockSize>()},
      {kStringBlockFirst, strings.first<kBlockSize>()},
      {kStringBlockSecond, strings.last<kBlockSize>()},
  }};
}

std::string BlockNumbersText(const Configuration& config, const BlockSelection& which) {
  const auto blocks = ConfigBlocksOf(config);
  std::string text;
  for (std::size_t part = 0; part < kConfigBlockCount; ++part) {
    if (!which[part]) continue;
    if (!text.empty()) text += ", ";
    text += '#';
    text += std::to_string(blocks[part].number);
  }
  return text;
}

std::size_t SelectedCount(const BlockSelection& which) {
  return static_cast<std::size_t>(std::count(which.begin(), which.end(), true));
}

}  // namespace qp40
