#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "editing/key_edit.h"
#include "editing/keypad_text.h"

namespace qp40::ctl {

// The modifier bit of a modifier word: Ctrl, Shift, Alt or Win, in any case.
std::optional<std::uint8_t> ModifierBit(std::string_view word);

// The modifier bits of the modifier words of `words` ("Ctrl,Shift"; empty for none) in
// `modifiers`; the usage error for a word that is none, or empty.
std::string ModifierBits(std::string_view words, std::uint8_t& modifiers);

// Each parser gives the key edit, or a usage error and no edit.
struct ParsedEdit {
  std::optional<KeyEdit> edit;
  std::string error;
};

// "Ctrl+Alt+Del": the modifier words give the modifiers, the one or two keys left become Key 1
// and Key 2. "+" is a key too: "Ctrl++" and "Ctrl+Num+" each hold one.
ParsedEdit ShortcutOption(std::string_view text);
// A media key by its name ("Volume+") or its code (0..255).
ParsedEdit MediaOption(std::string_view name_or_code);
// A mouse button or movement by its name, moving by x and y.
ParsedEdit MouseOption(std::string_view name, int x, int y);
// A burst text or string with the modifier words to hold, separated by commas ("Ctrl,Shift";
// empty for none).
ParsedEdit TextOption(KeypadTextKind kind, std::string_view utf8_text, std::string_view modifiers);

}  // namespace qp40::ctl
