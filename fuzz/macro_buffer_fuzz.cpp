// A macro buffer as two blocks read from a keypad hold it: list it.

#include <algorithm>
#include <cstdint>

#include "fuzz_support.h"
#include "macro_listing_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  qp40::MacroBuffer buffer{};
  std::copy_n(data, std::min(size, buffer.size()), buffer.begin());
  qp40::fuzz::CheckedListing(buffer);
  return 0;
}
