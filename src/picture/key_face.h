#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "keys/key_action.h"
#include "model/configuration.h"

namespace qp40 {

// Texts of strings read from elsewhere than the unit table (the older string format keeps long
// strings on the keypad), by string number; keypad bytes.
using StringTexts = std::map<std::uint8_t, std::string>;

// The modifiers a shortcut, burst or string key holds with its keys, e.g. "Ctrl+Shift"; empty
// for other keys and for none.
std::string KeyModifierText(const KeyActionRecord& record);

// The whole text a burst or string key types, in keypad bytes; nothing for other keys and for a
// string that cannot be read from the configuration (nor is in `string_texts`).
std::optional<std::string> KeyTypedText(const KeyActionRecord& record, const Configuration& config,
                                        const StringTexts& string_texts);

// What one key of the sheet shows, escaped for XML.
struct KeyFace {
  std::string text;       // the label, or as much of a burst or string text as fits
  std::string modifiers;  // KeyModifierText
  int color_index = 0;    // into the key grid's colour table
  int label_class = 0;
};

// The face of a key whose text line holds `max_characters` characters. A shortcut shows its
// keys, with its modifiers on their own line; a burst or string key its text, ended by U+2026
// when cut; any other key its label.
KeyFace FaceOfKey(const KeyActionRecord& record, const Configuration& config,
                  const StringTexts& string_texts, std::size_t max_characters);

}  // namespace qp40
