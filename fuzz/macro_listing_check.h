#pragma once

#include <bitset>
#include <cstddef>
#include <optional>
#include <span>
#include <string>

#include "fuzz_support.h"
#include "macros/macro_listing.h"
#include "macros/macro_record.h"

namespace qp40::fuzz {

// Longest line a listing may hold: the command, ten parameters and the delay, each with its
// separator.
inline constexpr std::size_t kMaxListingLineLength = 256;

// How many records the chain from record 0 passes before it ends or comes back to a record it
// has already passed: the lines a listing must have.
inline std::size_t ChainLength(const MacroBuffer& buffer) {
  std::bitset<kMacroRecordCount> seen;
  std::size_t index = 0;
  std::size_t length = 0;
  while (!seen[index]) {
    seen[index] = true;
    ++length;
    const auto record = std::span(buffer).subspan(RecordOffset(index), kMacroRecordSize);
    if (record[kRecordNext] == 0 && record[kRecordMacro] == 0) {
      break;
    }
    index = record[kRecordNext];
  }
  return length;
}

// Lists the buffer and checks the listing: nothing for a macro that is not ready, else one
// bounded line per record of the chain, never more than the buffer's records.
inline std::optional<std::string> CheckedListing(const MacroBuffer& buffer) {
  std::optional<std::string> listing = ListMacro(buffer);
  QP40_REQUIRE(listing.has_value() == IsMacroReady(buffer));
  if (!listing) {
    return listing;
  }
  const std::size_t lines = CountLines(*listing);
  QP40_REQUIRE(lines == ChainLength(buffer) && lines <= kMacroRecordCount);
  QP40_REQUIRE(listing->size() <= lines * kMaxListingLineLength);
  QP40_REQUIRE(listing->size() >= 2 && listing->ends_with("\r\n"));
  return listing;
}

}  // namespace qp40::fuzz
