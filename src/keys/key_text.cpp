#include "keys/key_text.h"

#include <charconv>
#include <cstddef>
#include <system_error>

#include "keys/key_words.h"

namespace qp40 {
namespace {

constexpr std::size_t kRecordHexDigits = 8;

std::optional<KeyActionRecord> ParseRecordHex(std::string_view text) {
  if (text.size() != kRecordHexDigits) return std::nullopt;
  KeyActionRecord record{};
  for (std::size_t i = 0; i < record.size(); ++i) {
    const char* first = text.data() + 2 * i;
    const auto [end, error] = std::from_chars(first, first + 2, record[i], 16);
    if (error != std::errc() || end != first + 2) return std::nullopt;
  }
  return record;
}

std::optional<KeyActionRecord> ParseKeyWord(std::string_view text) {
  // The table's unnamed entries name no key: an empty text (an unset shell variable, say) must
  // not become key code 0.
  if (text.empty()) return std::nullopt;
  const WordLookupResult word = LookupWord(text);
  if (!word.found) return std::nullopt;
  KeyActionForm form;
  form.type = IsToolKeyCode(word.code) ? kTypeTool : kTypeKeyboard;
  form.p2 = word.code;
  return EncodeKeyAction(form);
}

}  // namespace

std::optional<KeyActionRecord> ParseKeyText(std::string_view text) {
  if (auto record = ParseRecordHex(text)) return record;
  return ParseKeyWord(text);
}

}  // namespace qp40
