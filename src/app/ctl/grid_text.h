#pragma once

#include <cstdint>
#include <string>

#include "model/configuration.h"

namespace qp40::ctl {

enum class GridFormat {
  kTable,    // labels in their grid positions under a heading, for reading
  kTsv,      // 6 lines of 8 labels separated by tabs
  kRecords,  // 6 lines of 8 records as 8 lower-case hex digits, separated by tabs
};

// The key grid of `profile` (0..3) as `show` prints it, read through ViewProfile: the working
// copy for the current profile, the profile image for the others. Nothing in `config` changes.
std::string GridText(const Configuration& config, std::uint8_t profile, GridFormat format);

// The label a key with `record` shows, its burst or string text taken from `config`'s tables.
std::string RecordLabel(const Configuration& config, const KeyActionRecord& record);

// A record as 8 lower-case hex digits, e.g. "80040000".
std::string RecordHex(const KeyActionRecord& record);

}  // namespace qp40::ctl
