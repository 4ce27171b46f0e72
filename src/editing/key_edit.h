#pragma once

#include <optional>
#include <string>
#include <vector>

#include "editing/keypad_text.h"
#include "keys/key_action.h"

namespace qp40 {

// The text a string or burst key types, to be stored with the key.
struct KeyEditText {
  KeypadTextKind kind = KeypadTextKind::kString;
  std::string bytes;  // the keypad's single-byte text
  // The characters the user typed that the table does not keep, to be named to the user once
  // the text is stored; empty when every character is kept.
  std::vector<std::string> unstored;
};

// What an editor asks of one key: its new record and, for a string or burst key, the text that
// goes with it. Applying it stores the text (a new string or burst entry, whose number goes into
// the record's text byte), frees the text the key held before, and sets the record.
struct KeyEdit {
  KeyActionRecord record{};
  std::optional<KeyEditText> text;
};

// The record byte that holds a string key's string number or a burst key's entry, and the byte
// above it (a burst entry's high byte).
inline constexpr std::size_t kKeyTextLowByte = 3;
inline constexpr std::size_t kKeyTextHighByte = 2;

// The kind of text a record refers to, if any.
std::optional<KeypadTextKind> KeyTextKindOf(const KeyActionRecord& record);

// The burst entry index a burst record names (0..65535; entries exist below 256 only).
unsigned BurstIndexOf(const KeyActionRecord& record);

// "A burst text holds ASCII characters only; these were stored as empty places: …" and its
// string counterpart.
std::string UnstoredCharactersMessage(KeypadTextKind kind,
                                      const std::vector<std::string>& characters);

}  // namespace qp40
