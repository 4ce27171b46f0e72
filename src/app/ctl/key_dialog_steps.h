#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "editing/key_attribute_logic.h"

namespace qp40::ctl {

// What `key set` does in the key dialog for one key, as the user would: choose a type, fill
// the fields, tick the boxes, choose a stop mode; then OK.
struct KeyDialogSteps {
  int type = kTypeNoneSelected;
  std::vector<std::pair<int, std::string>> fields;  // edit field id and text, in order
  std::vector<int> checked;                         // check boxes to tick
  std::optional<int> stop_mode;
};

// Runs the steps on an opened dialog and confirms it.
KeyAttributeLogic::ConfirmOutcome RunSteps(KeyAttributeLogic& dialog, const KeyDialogSteps& steps);

// The usage error for a name that `names` does not hold, naming the nearest ones:
// "'Entr' is no key name; did you mean Enter, End, Attr?". `what` says what it is not: "is no
// key name".
std::string UnknownName(std::string_view word, std::string_view what,
                        std::span<const std::string_view> names);

// The check box of a modifier word: Ctrl, Shift, Alt or Win, in any case.
std::optional<int> ModifierBox(std::string_view word);

// Adds the check box of each modifier word of `words` ("Ctrl,Shift"; empty for none) to
// `boxes`; the usage error for a word that is none, or empty.
std::string TickModifiers(std::string_view words, std::vector<int>& boxes);

// Each parser gives the steps, or a usage error and no steps.
struct ParsedSteps {
  KeyDialogSteps steps;
  std::string error;
};

// "Ctrl+Alt+Del": the modifier words tick their boxes, the one or two keys left become Key 1
// and Key 2. "+" is a key too: "Ctrl++" and "Ctrl+Num+" each hold one.
ParsedSteps ShortcutSteps(std::string_view text);
// A media key by its name ("Volume+") or its code (0..255).
ParsedSteps MediaSteps(std::string_view name_or_code);
// A mouse button or movement by its name, moving by x and y.
ParsedSteps MouseSteps(std::string_view name, int x, int y);
// A burst text (type kTypeBurst) or string (kTypeString), with the modifier words to hold,
// separated by commas ("Ctrl,Shift"; empty for none).
ParsedSteps TextSteps(int type, std::string_view utf8_text, std::string_view modifiers);
KeyDialogSteps MacroSteps(int macro, int stop_mode);
KeyDialogSteps ToolSteps(int code);
KeyDialogSteps DisableSteps();

}  // namespace qp40::ctl
