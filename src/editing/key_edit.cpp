#include "editing/key_edit.h"

namespace qp40 {

std::optional<KeypadTextKind> KeyTextKindOf(const KeyActionRecord& record) {
  const std::optional<int> type = DecodeKeyAction(record).type;
  if (type == kTypeBurst) return KeypadTextKind::kBurst;
  if (type == kTypeString) return KeypadTextKind::kString;
  return std::nullopt;
}

unsigned BurstIndexOf(const KeyActionRecord& record) {
  return record[kKeyTextHighByte] * 256u + record[kKeyTextLowByte];
}

std::string UnstoredCharactersMessage(KeypadTextKind kind,
                                      const std::vector<std::string>& characters) {
  std::string list;
  for (const std::string& character : characters) {
    if (!list.empty()) list += " ";
    list += character;
  }
  return kind == KeypadTextKind::kBurst
             ? "A burst text holds ASCII characters only; these were stored as empty places: " +
                   list
             : "A string holds printable ASCII characters only; these were replaced: " + list;
}

}  // namespace qp40
