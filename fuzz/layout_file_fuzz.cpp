// Layout file text: parsing either gives a layout or lists problems, never both; a layout
// writes canonically, and its text parses back to the same layout and the same bytes.

#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "layout/layout_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace qp40;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const LayoutParse parsed = ParseLayoutText(text);
  QP40_REQUIRE(parsed.layout.has_value() == parsed.problems.empty());
  if (!parsed.layout) return 0;
  const std::string written = LayoutText(*parsed.layout);
  const LayoutParse again = ParseLayoutText(written);
  QP40_REQUIRE(again.layout.has_value());
  QP40_REQUIRE(LayoutText(*again.layout) == written);
  return 0;
}
