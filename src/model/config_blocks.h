#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "link/report.h"
#include "model/configuration.h"

namespace qp40 {

// The five blocks a configuration occupies on the keypad, in the order a save writes them: the
// profile block, the two halves of the burst table, the two halves of the string unit table.
inline constexpr std::size_t kConfigBlockCount = 5;
inline constexpr std::size_t kProfilePart = 0;

// One flag per block of a configuration, in that order.
using BlockSelection = std::array<bool, kConfigBlockCount>;
inline constexpr BlockSelection kAllConfigBlocks = {true, true, true, true, true};
inline constexpr BlockSelection kNoConfigBlocks = {};

struct ConfigBlock {
  std::uint8_t number = 0;
  std::span<const std::uint8_t, kBlockSize> data;
};

// The blocks of `config` as they stand (the profile image as it is, without the working copy
// merged in); the spans point into `config`.
std::array<ConfigBlock, kConfigBlockCount> ConfigBlocksOf(const Configuration& config);

// The blocks of `config` that a save with `which` writes, by number: "#28, #30".
std::string BlockNumbersText(const Configuration& config, const BlockSelection& which);

std::size_t SelectedCount(const BlockSelection& which);

}  // namespace qp40
