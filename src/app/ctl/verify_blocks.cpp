#include "app/ctl/verify_blocks.h"

#include <algorithm>
#include <span>

namespace qp40::ctl {
namespace {

bool BlockMatches(KeypadLink& link, std::uint8_t block,
                  std::span<const std::uint8_t, kBlockSize> written, std::ostream& err) {
  Block read_back{};
  if (link.ReadBlock(block, read_back) != 0) {
    err << "qp40ctl: verify: block " << int{block} << " could not be read back\n";
    return false;
  }
  if (!std::equal(written.begin(), written.end(), read_back.begin())) {
    err << "qp40ctl: verify: block " << int{block} << " differs from what was written\n";
    return false;
  }
  return true;
}

}  // namespace

int VerifySavedBlocks(const Configuration& config, KeypadLink& link, std::ostream& err) {
  const std::span<const std::uint8_t, kTextTableSize> burst(config.burst_table);
  const std::span<const std::uint8_t, kTextTableSize> strings(config.string_unit_table);
  int bad_blocks = 0;
  auto check = [&](std::uint8_t block, std::span<const std::uint8_t, kBlockSize> written) {
    if (!BlockMatches(link, block, written, err)) ++bad_blocks;
  };
  check(config.profile_block_number, config.profile_image);
  check(kBurstBlockFirst, burst.first<kBlockSize>());
  check(kBurstBlockSecond, burst.last<kBlockSize>());
  check(kStringBlockFirst, strings.first<kBlockSize>());
  check(kStringBlockSecond, strings.last<kBlockSize>());
  return bad_blocks;
}

}  // namespace qp40::ctl
