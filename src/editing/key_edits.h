#pragma once

#include <cstdint>
#include <string_view>

#include "editing/key_edit.h"

namespace qp40 {

// Key edits of each type, built from values, as the key dialog's OK builds them from its fields:
// the command line sets keys through these, without the dialog.

// The mouse button byte of a name of the mouse name table ("M_Left" ...); 0 for "Move" and any
// other text.
std::uint8_t MouseButtonByteOfName(std::string_view name);

// A keyboard key sending HID code `code`; a layer, profile or reboot code makes a tools key.
KeyEdit KeyboardEdit(std::uint8_t code);
KeyEdit MediaEdit(std::uint8_t code);
// `button`: a mouse button byte (MouseButtonByteOfName); x and y move the pointer.
KeyEdit MouseEdit(std::uint8_t button, std::int8_t x, std::int8_t y);
// Ctrl, Shift, Alt and Win as `modifiers` (kModifierCtrl ...) with up to two keys (0: none).
KeyEdit ShortcutEdit(std::uint8_t modifiers, std::uint8_t key1, std::uint8_t key2);
// A burst or string key typing the UTF-8 text `utf8` with `modifiers` held. A string's pace
// comes from its length, as the dialog sets it.
KeyEdit TextEdit(KeypadTextKind kind, std::string_view utf8, std::uint8_t modifiers);
// Runs hardware macro `macro` with stop mode `stop_mode` (0 auto, 1 second click, 2 release).
KeyEdit MacroEdit(std::uint8_t macro, std::uint8_t stop_mode);
KeyEdit ToolEdit(std::uint8_t code);
KeyEdit DisabledEdit();

}  // namespace qp40
