#pragma once

#include <string>

#include "model/configuration.h"

namespace qp40::ctl {

enum class GridFormat {
  kTable,    // labels in their grid positions under a heading, for reading
  kTsv,      // 6 lines of 8 labels separated by tabs
  kRecords,  // 6 lines of 8 records as 8 lower-case hex digits, separated by tabs
};

// The key grid of the profile in the working copy, as `show` prints it.
std::string GridText(const Configuration& config, GridFormat format);

// The label a key of the working copy shows.
std::string KeyLabelAt(const Configuration& config, std::size_t position);

// A record as 8 lower-case hex digits, e.g. "80040000".
std::string RecordHex(const KeyRecord& record);

}  // namespace qp40::ctl
