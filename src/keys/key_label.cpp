#include "keys/key_label.h"

#include <string_view>

#include "keys/key_words.h"
#include "keys/name_tables.h"

namespace qp40 {
namespace {

// Shown where the code-to-name lookup finds no key word.
constexpr std::string_view kUnnamedCode = "HID";

std::string_view Name(std::uint8_t code) { return CodeToName(code, kUnnamedCode); }

// The text of one table entry from byte `offset` up to its first zero byte. Never reads beyond
// the entry, so an entry without a zero byte ends at its own last byte.
std::string EntryText(TextTableView table, std::uint8_t index, std::size_t offset) {
  const std::size_t start = std::size_t{index} * kTextEntrySize;
  if (start + kTextEntrySize > table.size()) return {};
  const auto entry = table.subspan(start, kTextEntrySize);
  std::string text;
  for (std::size_t i = offset; i < entry.size() && entry[i] != 0; ++i) {
    text.push_back(static_cast<char>(entry[i]));
  }
  return text;
}

std::string MouseLabel(std::uint8_t buttons) {
  switch (buttons) {
    case kMouseMove:
      return "M_Move";
    case 0x01:
      return "M_Left";
    case 0x02:
      return "M_Right";
    case 0x04:
      return "M_Middle";
    case 0x08:
      return "M_Button4";
    case 0x10:
      return "M_Button5";
    case 0x20:
      return "M_Button6";
    case 0x40:
      return "M_Button7";
    case 0x80:
      return "M_Button8";
    case kMouseWheel:
      return "M_Wheel";
    default:
      return "Mouse";
  }
}

std::string ModifierPrefix(std::uint8_t modifiers) {
  std::string prefix;
  if (modifiers & kModifierAnyCtrl) prefix += "Ctrl+";
  if (modifiers & kModifierAnyShift) prefix += "Shift+";
  if (modifiers & kModifierAnyAlt) prefix += "Alt+";
  if (modifiers & kModifierAnyWin) prefix += "Win+";
  return prefix;
}

// Media codes beyond the media key table have no name; they are shown by number so that the
// key still says what it holds.
std::string MediaLabel(std::uint8_t media_code) {
  const std::string_view name = MediaKeyName(media_code);
  if (!name.empty()) return std::string(name);
  return "Media " + std::to_string(media_code);
}

}  // namespace

int KeyLabelClass(std::uint8_t action_code) {
  switch (action_code) {
    case kActionMedia:
      return kTypeMultimedia;
    case kActionMouse:
      return kTypeMouse;
    case kActionShortcut:
    case kActionShortcutAlt:
      return kTypeShortcut;
    case kActionBurst:
      return kTypeBurst;
    case kActionString:
      return kTypeString;
    case kActionMacroAlt:
    case kActionMacro:
      return kTypeMacro;
    case kActionTool:
      return kTypeTool;
    case kActionDisabled:
      return kTypeDisabled;
    case kActionReserved9:
      return kTypeReserved9;
    case kActionReservedA:
      return kTypeReservedA;
    case kActionReservedB:
      return kTypeReservedB;
    case kActionNull:
      return kTypeNull;
    default:
      return kTypeKeyboard;
  }
}

int KeyBackgroundColorIndex(int label_class) { return label_class == 0 ? 1 : label_class + 2; }

std::string FullKeyLabel(const KeyActionRecord& record, TextTableView burst_table,
                         TextTableView string_unit_table) {
  const auto [b0, b1, b2, b3] = record;
  std::string label;
  switch (KeyLabelClass(b0)) {
    case kTypeMultimedia:
      label = MediaLabel(b1);
      break;
    case kTypeMouse:
      label = MouseLabel(b1);
      break;
    case kTypeShortcut:
      label = ModifierPrefix(b1);
      label += Name(b2);
      label += Name(b3);
      break;
    case kTypeBurst:
      label = EntryText(burst_table, b3, 0);
      break;
    case kTypeString:
      label = EntryText(string_unit_table, b3, kStringUnitTextOffset);
      break;
    case kTypeMacro:
      label = "Macro " + std::to_string(b1);
      break;
    case kTypeDisabled:
      label = "Null";
      break;
    case kTypeReservedB:
      label = Name(b1);
      if (b2 != 0) (label += "|") += Name(b2);
      if (b3 != 0) (label += "|") += Name(b3);
      break;
    default:
      // Keyboard keys (a modifier key names its code in b2), tools keys and the reserved types.
      label = Name(b0 == kActionModifierKey ? b2 : b1);
      break;
  }
  return label;
}

std::string KeyLabel(const KeyActionRecord& record, TextTableView burst_table,
                     TextTableView string_unit_table) {
  std::string label = FullKeyLabel(record, burst_table, string_unit_table);
  if (label.size() > kKeyLabelLength) label.resize(kKeyLabelLength);
  return label;
}

}  // namespace qp40
