#include "editing/key_edits.h"

#include "keys/name_tables.h"

namespace qp40 {
namespace {

KeyEdit Encoded(int type, std::uint8_t p0, std::uint8_t p2, std::uint8_t p3, std::uint8_t p4) {
  KeyActionForm form;
  form.type = type;
  form.p0 = p0;
  form.p2 = p2;
  form.p3 = p3;
  form.p4 = p4;
  return KeyEdit{EncodeKeyAction(form).value_or(KeyActionRecord{}), std::nullopt};
}

}  // namespace

std::uint8_t MouseButtonByteOfName(std::string_view name) {
  for (std::size_t position = 0; position < kMouseNameCount; ++position) {
    if (MouseName(position) == name) return MouseButtonByte(position).value_or(0);
  }
  return 0;
}

KeyEdit KeyboardEdit(std::uint8_t code) {
  return Encoded(IsToolKeyCode(code) ? kTypeTool : kTypeKeyboard, 0, code, 0, 0);
}

KeyEdit MediaEdit(std::uint8_t code) { return Encoded(kTypeMultimedia, 0, code, 0, 0); }

KeyEdit MouseEdit(std::uint8_t button, std::int8_t x, std::int8_t y) {
  return Encoded(kTypeMouse, 0, button, static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y));
}

KeyEdit ShortcutEdit(std::uint8_t modifiers, std::uint8_t key1, std::uint8_t key2) {
  return Encoded(kTypeShortcut, modifiers, 0, key1, key2);
}

KeyEdit TextEdit(KeypadTextKind kind, std::string_view utf8, std::uint8_t modifiers) {
  const std::string bytes = KeypadBytesFromUtf8(utf8);
  const bool burst = kind == KeypadTextKind::kBurst;
  // The text's number goes into byte 3 when the text is stored.
  KeyEdit edit = Encoded(burst ? kTypeBurst : kTypeString, modifiers, modifiers, 0, 0);
  if (!burst) edit.record[kKeyTextHighByte] = PaceValue(bytes.size());
  edit.text = KeyEditText{kind, bytes, CharactersNotStored(utf8, kind)};
  return edit;
}

KeyEdit MacroEdit(std::uint8_t macro, std::uint8_t stop_mode) {
  return Encoded(kTypeMacro, 0, macro, 0, stop_mode);
}

KeyEdit ToolEdit(std::uint8_t code) { return Encoded(kTypeTool, 0, code, 0, 0); }

KeyEdit DisabledEdit() { return Encoded(kTypeDisabled, 0, 0, 0, 0); }

}  // namespace qp40
