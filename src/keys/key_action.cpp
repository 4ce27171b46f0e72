#include "keys/key_action.h"

#include "log/text_format.h"

namespace qp40 {
namespace {

// How a decoded record fills the parameter bytes.
enum class Operands {
  kKeyInB1,         // P2 = b1
  kKeyInB2,         // P2 = b2 (modifier key used as a keyboard key)
  kParameters,      // P2, P3, P4 = b1, b2, b3
  kMouse,           // P1 = P2 = b1, P3 = b2, P4 = b3
  kShortcut,        // P0 = b1, P3 = b2, P4 = b3
  kModsParameters,  // P0 = b1 and P2, P3, P4 = b1, b2, b3
  kNone,            // all zero
};

struct DecodeRule {
  std::uint8_t code;
  int type;
  Operands operands;
};

constexpr DecodeRule kDecodeRules[] = {
    {kActionKey, kTypeKeyboard, Operands::kKeyInB1},
    {kActionKeyAlt1, kTypeKeyboard, Operands::kKeyInB1},
    {kActionKeyAlt2, kTypeKeyboard, Operands::kKeyInB1},
    {kActionKeyAlt3, kTypeKeyboard, Operands::kKeyInB1},
    {kActionModifierKey, kTypeKeyboard, Operands::kKeyInB2},
    {kActionMediaAlt, kTypeMultimedia, Operands::kParameters},
    {kActionMedia, kTypeMultimedia, Operands::kParameters},
    {kActionMouseAlt1, kTypeMouse, Operands::kMouse},
    {kActionMouseAlt2, kTypeMouse, Operands::kMouse},
    {kActionMouseAlt3, kTypeMouse, Operands::kMouse},
    {kActionMouse, kTypeMouse, Operands::kMouse},
    {kActionShortcut, kTypeShortcut, Operands::kShortcut},
    {kActionShortcutAlt, kTypeShortcut, Operands::kShortcut},
    {kActionBurstAlt1, kTypeBurst, Operands::kModsParameters},
    {kActionBurstAlt2, kTypeBurst, Operands::kModsParameters},
    {kActionBurst, kTypeBurst, Operands::kModsParameters},
    {kActionStringAlt1, kTypeString, Operands::kParameters},
    {kActionStringAlt2, kTypeString, Operands::kParameters},
    {kActionString, kTypeString, Operands::kModsParameters},
    {kActionMacroAlt, kTypeMacro, Operands::kParameters},
    {kActionMacro, kTypeMacro, Operands::kParameters},
    {kActionTool, kTypeTool, Operands::kParameters},
    {kActionDisabled, kTypeDisabled, Operands::kNone},
    {kActionReserved9, kTypeReserved9, Operands::kParameters},
    {kActionReservedA, kTypeReservedA, Operands::kParameters},
    {kActionReservedB, kTypeReservedB, Operands::kParameters},
    {kActionNull, kTypeNull, Operands::kParameters},
};

// Action code written for each type index; type 0 is handled apart (modifier keys).
constexpr std::uint8_t kEncodeCodes[kTypeCount] = {
    kActionKey,       kActionMedia,     kActionMouse, kActionShortcut, kActionBurst,
    kActionString,    kActionMacro,     kActionTool,  kActionDisabled, kActionReserved9,
    kActionReservedA, kActionReservedB, kActionNull,
};

}  // namespace

KeyActionForm DecodeKeyAction(const KeyActionRecord& record) {
  const auto [b0, b1, b2, b3] = record;
  KeyActionForm form;
  for (const DecodeRule& rule : kDecodeRules) {
    if (rule.code != b0) continue;
    form.type = rule.type;
    switch (rule.operands) {
      case Operands::kKeyInB1:
        form.p2 = b1;
        break;
      case Operands::kKeyInB2:
        form.p2 = b2;
        break;
      case Operands::kParameters:
        form.p2 = b1;
        form.p3 = b2;
        form.p4 = b3;
        break;
      case Operands::kMouse:
        form.p1 = b1;
        form.p2 = b1;
        form.p3 = b2;
        form.p4 = b3;
        break;
      case Operands::kShortcut:
        form.p0 = b1;
        form.p3 = b2;
        form.p4 = b3;
        break;
      case Operands::kModsParameters:
        form.p0 = b1;
        form.p2 = b1;
        form.p3 = b2;
        form.p4 = b3;
        break;
      case Operands::kNone:
        break;
    }
    break;
  }
  return form;
}

std::optional<KeyActionRecord> EncodeKeyAction(const KeyActionForm& form) {
  if (!form.type || *form.type < 0 || *form.type >= kTypeCount) return std::nullopt;
  const int type = *form.type;
  switch (type) {
    case kTypeKeyboard:
      if (form.p2 >= kFirstModifierCode && form.p2 <= kLastModifierCode) {
        const auto bit = static_cast<std::uint8_t>(1u << (form.p2 - kFirstModifierCode));
        return KeyActionRecord{kActionModifierKey, bit, form.p2, 0};
      }
      return KeyActionRecord{kActionKey, form.p2, 0, 0};
    case kTypeShortcut:
      // A shortcut keeps its modifiers in b1; P2 plays no part.
      return KeyActionRecord{kActionShortcut, form.p0, form.p3, form.p4};
    case kTypeDisabled:
      return KeyActionRecord{kActionDisabled, 0, 0, 0};
    default:
      return KeyActionRecord{kEncodeCodes[type], form.p2, form.p3, form.p4};
  }
}

bool IsToolKeyCode(std::uint8_t code) { return (code >= 0xE8 && code <= 0xEF) || code == 0xF9; }

std::uint8_t PaceValue(std::size_t length) {
  if (length == 0) return 0;
  if (length <= 5) return static_cast<std::uint8_t>(100 / length);
  if (length <= 12) return 20;
  return 8;
}

std::string KeyActionLogLine(int row, int column, const KeyActionRecord& record) {
  return FormatText(">> KEY-%d%d: %2x  %2x  %2x  %2x", row, column, unsigned{record[0]},
                    unsigned{record[1]}, unsigned{record[2]}, unsigned{record[3]});
}

}  // namespace qp40
