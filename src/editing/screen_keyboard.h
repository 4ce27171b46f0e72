#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qp40 {

// What a screen keyboard button stands for.
enum class PickKind {
  kScreenKey,  // a key of the keyboard picture: value is its screen key number
  kMedia,      // a media key: value is its media code
  kTool,       // "Profile" or "Reboot": value is the pick position
  kMouse,      // a mouse button: value is its position in the mouse name table
  kNone,       // a button that is never shown and picks nothing
};

// One button of the screen keyboard, positioned in dialog units.
struct ScreenKeyboardButton {
  int id;
  std::string_view caption;  // UTF-8; "&&" shows one ampersand
  int x;
  int y;
  int width;
  int height;
  PickKind kind;
  int value;
  bool hidden = false;
};

// Every button of the screen keyboard window, the hidden ones included.
std::span<const ScreenKeyboardButton> ScreenKeyboardButtons();

// What a click on a button gives its owner: the pick name and the pick position.
struct ScreenKeyPick {
  PickKind kind = PickKind::kNone;
  std::string name;
  int position = 0;
  // The media code a media button also writes into the owner's code field.
  std::optional<int> media_code;
};

// The pick of button `id`; nothing for an id that is no button or a button that picks nothing.
std::optional<ScreenKeyPick> PickOfButton(int id);

// Which kind of dialog the screen keyboards serve, one value for the whole application.
inline constexpr int kOwnerKeyDialog = 0;
inline constexpr int kOwnerChordEditor = 2;
inline constexpr int kOwnerMacroEditor = 3;

// Chord editor fields that take a pick, and the one that takes it when the focus was last
// elsewhere.
inline constexpr int kChordDefaultPickField = 1142;
// The chord editor field a pick goes to, from the field that last had the focus.
int ChordPickField(int last_focused_field);

// What a pick does to the macro editor's fields: which field, and its new text.
struct FieldText {
  int field;
  std::string text;
};
// The macro editor's rules: field 1124 takes the pick name, 1125 the key name of the screen key
// at the pick position, 1126 gets that name appended; nothing for any other field.
std::optional<FieldText> MacroEditorPick(int last_focused_field, std::string_view current_text,
                                         const ScreenKeyPick& pick);

}  // namespace qp40
