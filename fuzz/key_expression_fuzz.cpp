// Key expressions: any text either parses or says why not, and whatever parses formats to an
// expression that parses to the same record and text.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "layout/key_expression.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace qp40;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const ParsedKeyExpression parsed = ParseKeyExpression(text);
  QP40_REQUIRE(parsed.edit.has_value() == parsed.error.empty());
  if (!parsed.edit) return 0;
  const std::optional<std::string> key_text =
      parsed.edit->text ? std::optional<std::string>(parsed.edit->text->bytes) : std::nullopt;
  const std::string formatted = FormatKeyExpression(parsed.edit->record, key_text);
  const ParsedKeyExpression again = ParseKeyExpression(formatted);
  QP40_REQUIRE(again.edit.has_value());
  QP40_REQUIRE(again.edit->record == parsed.edit->record);
  QP40_REQUIRE(again.edit->text.has_value() == parsed.edit->text.has_value());
  if (again.edit->text) QP40_REQUIRE(again.edit->text->bytes == parsed.edit->text->bytes);
  return 0;
}
