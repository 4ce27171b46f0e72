#include "app/ctl/key_value.h"

#include <charconv>
#include <cstdint>

#include "keys/key_action.h"
#include "keys/key_words.h"

namespace qp40::ctl {
namespace {

constexpr std::size_t kRecordHexDigits = 8;

std::optional<KeyActionRecord> ParseRecordHex(std::string_view value) {
  if (value.size() != kRecordHexDigits) return std::nullopt;
  KeyActionRecord record{};
  for (std::size_t i = 0; i < record.size(); ++i) {
    const char* first = value.data() + 2 * i;
    const auto [end, error] = std::from_chars(first, first + 2, record[i], 16);
    if (error != std::errc() || end != first + 2) return std::nullopt;
  }
  return record;
}

std::optional<KeyActionRecord> ParseKeyWord(std::string_view value) {
  // The table's unnamed entries name no key: an empty VALUE (an unset shell variable, say) must
  // not become key code 0.
  if (value.empty()) return std::nullopt;
  const WordLookupResult word = LookupWord(value);
  if (!word.found) return std::nullopt;
  KeyActionForm form;
  form.type = IsToolKeyCode(word.code) ? kTypeTool : kTypeKeyboard;
  form.p2 = word.code;
  return EncodeKeyAction(form);
}

}  // namespace

std::optional<KeyActionRecord> ParseKeyValue(std::string_view value) {
  if (auto record = ParseRecordHex(value)) return record;
  return ParseKeyWord(value);
}

std::string CheckKeyValue(const std::string& value) {
  if (ParseKeyValue(value)) return {};
  return "'" + value + "' is neither a record of 8 hex digits nor a key word";
}

}  // namespace qp40::ctl
