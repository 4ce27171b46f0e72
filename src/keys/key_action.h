#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace qp40 {

// What one key does: action code b0 followed by three operands.
using KeyActionRecord = std::array<std::uint8_t, 4>;

// Action codes the tool writes, one per function type.
inline constexpr std::uint8_t kActionKey = 0x80;
inline constexpr std::uint8_t kActionModifierKey = 0x81;
inline constexpr std::uint8_t kActionMedia = 0xA2;
inline constexpr std::uint8_t kActionMouse = 0xA3;
inline constexpr std::uint8_t kActionShortcut = 0x84;
inline constexpr std::uint8_t kActionBurst = 0xB3;
inline constexpr std::uint8_t kActionString = 0xB4;
inline constexpr std::uint8_t kActionMacro = 0xB5;
inline constexpr std::uint8_t kActionTool = 0xBA;
inline constexpr std::uint8_t kActionDisabled = 0x8F;
inline constexpr std::uint8_t kActionReserved9 = 0xBC;
inline constexpr std::uint8_t kActionReservedA = 0xBD;
inline constexpr std::uint8_t kActionReservedB = 0xBE;
inline constexpr std::uint8_t kActionNull = 0xBF;

// Further action codes found on keypads and in files; they are read but never written.
inline constexpr std::uint8_t kActionBurstAlt1 = 0x82;
inline constexpr std::uint8_t kActionBurstAlt2 = 0x83;
inline constexpr std::uint8_t kActionStringAlt1 = 0x85;
inline constexpr std::uint8_t kActionStringAlt2 = 0x86;
inline constexpr std::uint8_t kActionMacroAlt = 0x87;
inline constexpr std::uint8_t kActionKeyAlt1 = 0x89;
inline constexpr std::uint8_t kActionMediaAlt = 0x8A;
inline constexpr std::uint8_t kActionKeyAlt2 = 0x8B;
inline constexpr std::uint8_t kActionKeyAlt3 = 0x8D;
inline constexpr std::uint8_t kActionMouseAlt1 = 0x90;
inline constexpr std::uint8_t kActionMouseAlt2 = 0x91;
inline constexpr std::uint8_t kActionMouseAlt3 = 0x92;
inline constexpr std::uint8_t kActionShortcutAlt = 0xB1;

// Type indices; their names are those of TypeName().
inline constexpr int kTypeKeyboard = 0;
inline constexpr int kTypeMultimedia = 1;
inline constexpr int kTypeMouse = 2;
inline constexpr int kTypeShortcut = 3;
inline constexpr int kTypeBurst = 4;
inline constexpr int kTypeString = 5;
inline constexpr int kTypeMacro = 6;
inline constexpr int kTypeTool = 7;
inline constexpr int kTypeDisabled = 8;
inline constexpr int kTypeReserved9 = 9;
inline constexpr int kTypeReservedA = 10;
inline constexpr int kTypeReservedB = 11;
inline constexpr int kTypeNull = 12;
inline constexpr int kTypeCount = 13;
// The key dialog's type index while its type list has no selection.
inline constexpr int kTypeNoneSelected = -1;

// Modifier byte: bit n stands for modifier key code kFirstModifierCode + n. Either key of a
// left/right pair counts as that modifier when a record is shown.
inline constexpr std::uint8_t kFirstModifierCode = 0xE0;
inline constexpr std::uint8_t kLastModifierCode = 0xE7;
inline constexpr std::uint8_t kModifierCtrl = 0x01;
inline constexpr std::uint8_t kModifierShift = 0x02;
inline constexpr std::uint8_t kModifierAlt = 0x04;
inline constexpr std::uint8_t kModifierWin = 0x08;
inline constexpr std::uint8_t kModifierAnyCtrl = 0x11;
inline constexpr std::uint8_t kModifierAnyShift = 0x22;
inline constexpr std::uint8_t kModifierAnyAlt = 0x44;
inline constexpr std::uint8_t kModifierAnyWin = 0x88;

// Mouse button byte values besides the single button bits.
inline constexpr std::uint8_t kMouseWheel = 0xFF;
inline constexpr std::uint8_t kMouseMove = 0x00;

// The editing form of the key dialog: a type index and the parameter bytes P0..P4.
struct KeyActionForm {
  // Empty when the record's action code is not recognised. The dialog stores
  // kTypeNoneSelected when its type list has no selection; only 0..12 encode to a record.
  std::optional<int> type;
  std::uint8_t p0 = 0;  // modifier byte
  std::uint8_t p1 = 0;  // mouse button byte as read; never used for encoding
  std::uint8_t p2 = 0;
  std::uint8_t p3 = 0;
  std::uint8_t p4 = 0;

  bool operator==(const KeyActionForm&) const = default;
};

KeyActionForm DecodeKeyAction(const KeyActionRecord& record);

// The record for `form`, or nothing when its type index lies outside 0..12 (the key then keeps
// its old record). Type 0 with a modifier key code in P2 becomes a modifier-key record.
std::optional<KeyActionRecord> EncodeKeyAction(const KeyActionForm& form);

// Whether a key code entered for a keyboard key is stored as a tools key instead (the layer and
// profile keys 0xE8..0xEF and "Reboot"); the key dialog applies this before encoding.
bool IsToolKeyCode(std::uint8_t code);

// Pace value b2 of a string key for a text of `length` characters: 100 / length up to 5
// characters, 20 up to 12, 8 beyond. An empty text, which is never stored, gives 0.
std::uint8_t PaceValue(std::size_t length);

// The log line written after a key's record is stored, e.g. ">> KEY-25: 80   4   0   0".
std::string KeyActionLogLine(int row, int column, const KeyActionRecord& record);

}  // namespace qp40
