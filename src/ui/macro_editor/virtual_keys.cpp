#include "ui/macro_editor/virtual_keys.h"

#include <array>
#include <span>

namespace qp40 {

namespace {

// Virtual-key codes of the window system.
constexpr std::uint8_t kVkBackspace = 0x08;
constexpr std::uint8_t kVkTab = 0x09;
constexpr std::uint8_t kVkEnter = 0x0D;
constexpr std::uint8_t kVkShift = 0x10;
constexpr std::uint8_t kVkControl = 0x11;
constexpr std::uint8_t kVkAlt = 0x12;
constexpr std::uint8_t kVkPause = 0x13;
constexpr std::uint8_t kVkCapsLock = 0x14;
constexpr std::uint8_t kVkEscape = 0x1B;
constexpr std::uint8_t kVkSpace = 0x20;
constexpr std::uint8_t kVkPageUp = 0x21;
constexpr std::uint8_t kVkPageDown = 0x22;
constexpr std::uint8_t kVkEnd = 0x23;
constexpr std::uint8_t kVkHome = 0x24;
constexpr std::uint8_t kVkLeft = 0x25;
constexpr std::uint8_t kVkUp = 0x26;
constexpr std::uint8_t kVkRight = 0x27;
constexpr std::uint8_t kVkDown = 0x28;
constexpr std::uint8_t kVkPrint = 0x2C;
constexpr std::uint8_t kVkInsert = 0x2D;
constexpr std::uint8_t kVkDelete = 0x2E;
constexpr std::uint8_t kVkDigit0 = 0x30;   // 0x30..0x39: the digits
constexpr std::uint8_t kVkLetterA = 0x41;  // 0x41..0x5A: the letters
constexpr std::uint8_t kVkLeftWindows = 0x5B;
constexpr std::uint8_t kVkApplications = 0x5D;
constexpr std::uint8_t kVkNumpad0 = 0x60;  // 0x60..0x69: the keypad's digits
constexpr std::uint8_t kVkMultiply = 0x6A;
constexpr std::uint8_t kVkAdd = 0x6B;
constexpr std::uint8_t kVkSubtract = 0x6D;
constexpr std::uint8_t kVkDecimal = 0x6E;
constexpr std::uint8_t kVkDivide = 0x6F;
constexpr std::uint8_t kVkF1 = 0x70;  // 0x70..0x87: F1..F24
constexpr std::uint8_t kVkNumLock = 0x90;
constexpr std::uint8_t kVkScrollLock = 0x91;
constexpr std::uint8_t kVkSemicolon = 0xBA;
constexpr std::uint8_t kVkEquals = 0xBB;
constexpr std::uint8_t kVkComma = 0xBC;
constexpr std::uint8_t kVkMinus = 0xBD;
constexpr std::uint8_t kVkPeriod = 0xBE;
constexpr std::uint8_t kVkSlash = 0xBF;
constexpr std::uint8_t kVkGrave = 0xC0;
constexpr std::uint8_t kVkOpenBracket = 0xDB;
constexpr std::uint8_t kVkBackslash = 0xDC;
constexpr std::uint8_t kVkCloseBracket = 0xDD;
constexpr std::uint8_t kVkQuote = 0xDE;

struct QtKeyToVirtualKey {
  int qt_key;
  std::uint8_t virtual_key;
};

// Keys outside the letter, digit and function-key runs.
constexpr auto kQtKeyToVirtualKey = std::to_array<QtKeyToVirtualKey>({
    {Qt::Key_Backspace, kVkBackspace},
    {Qt::Key_Tab, kVkTab},
    {Qt::Key_Backtab, kVkTab},  // Shift+Tab
    {Qt::Key_Return, kVkEnter},
    {Qt::Key_Enter, kVkEnter},
    {Qt::Key_Shift, kVkShift},
    {Qt::Key_Control, kVkControl},
    {Qt::Key_Alt, kVkAlt},
    {Qt::Key_Pause, kVkPause},
    {Qt::Key_CapsLock, kVkCapsLock},
    {Qt::Key_Escape, kVkEscape},
    {Qt::Key_Space, kVkSpace},
    {Qt::Key_PageUp, kVkPageUp},
    {Qt::Key_PageDown, kVkPageDown},
    {Qt::Key_End, kVkEnd},
    {Qt::Key_Home, kVkHome},
    {Qt::Key_Left, kVkLeft},
    {Qt::Key_Up, kVkUp},
    {Qt::Key_Right, kVkRight},
    {Qt::Key_Down, kVkDown},
    {Qt::Key_Print, kVkPrint},
    {Qt::Key_Insert, kVkInsert},
    {Qt::Key_Delete, kVkDelete},
    {Qt::Key_Meta, kVkLeftWindows},
    {Qt::Key_Super_L, kVkLeftWindows},
    {Qt::Key_Super_R, kVkLeftWindows},
    {Qt::Key_Menu, kVkApplications},
    {Qt::Key_NumLock, kVkNumLock},
    {Qt::Key_ScrollLock, kVkScrollLock},
    // US-layout punctuation, plain and shifted.
    {Qt::Key_Semicolon, kVkSemicolon},
    {Qt::Key_Colon, kVkSemicolon},
    {Qt::Key_Equal, kVkEquals},
    {Qt::Key_Plus, kVkEquals},
    {Qt::Key_Comma, kVkComma},
    {Qt::Key_Less, kVkComma},
    {Qt::Key_Minus, kVkMinus},
    {Qt::Key_Underscore, kVkMinus},
    {Qt::Key_Period, kVkPeriod},
    {Qt::Key_Greater, kVkPeriod},
    {Qt::Key_Slash, kVkSlash},
    {Qt::Key_Question, kVkSlash},
    {Qt::Key_QuoteLeft, kVkGrave},
    {Qt::Key_AsciiTilde, kVkGrave},
    {Qt::Key_BracketLeft, kVkOpenBracket},
    {Qt::Key_BraceLeft, kVkOpenBracket},
    {Qt::Key_Backslash, kVkBackslash},
    {Qt::Key_Bar, kVkBackslash},
    {Qt::Key_BracketRight, kVkCloseBracket},
    {Qt::Key_BraceRight, kVkCloseBracket},
    {Qt::Key_Apostrophe, kVkQuote},
    {Qt::Key_QuoteDbl, kVkQuote},
    // The shifted digits of a US layout.
    {Qt::Key_Exclam, kVkDigit0 + 1},
    {Qt::Key_At, kVkDigit0 + 2},
    {Qt::Key_NumberSign, kVkDigit0 + 3},
    {Qt::Key_Dollar, kVkDigit0 + 4},
    {Qt::Key_Percent, kVkDigit0 + 5},
    {Qt::Key_AsciiCircum, kVkDigit0 + 6},
    {Qt::Key_Ampersand, kVkDigit0 + 7},
    {Qt::Key_Asterisk, kVkDigit0 + 8},
    {Qt::Key_ParenLeft, kVkDigit0 + 9},
    {Qt::Key_ParenRight, kVkDigit0},
});

// The keypad's keys that have codes of their own.
constexpr auto kKeypadToVirtualKey = std::to_array<QtKeyToVirtualKey>({
    {Qt::Key_Asterisk, kVkMultiply},
    {Qt::Key_Plus, kVkAdd},
    {Qt::Key_Minus, kVkSubtract},
    {Qt::Key_Period, kVkDecimal},
    {Qt::Key_Slash, kVkDivide},
});

constexpr int kFunctionKeyCount = 24;

std::optional<std::uint8_t> Find(std::span<const QtKeyToVirtualKey> table, int qt_key) {
  for (const QtKeyToVirtualKey& entry : table) {
    if (entry.qt_key == qt_key) return entry.virtual_key;
  }
  return std::nullopt;
}

std::uint8_t Offset(std::uint8_t first, int steps) {
  return static_cast<std::uint8_t>(first + steps);
}

}  // namespace

std::optional<std::uint8_t> VirtualKeyFromQtKey(int qt_key, Qt::KeyboardModifiers modifiers) {
  if (modifiers.testFlag(Qt::KeypadModifier)) {
    if (qt_key >= Qt::Key_0 && qt_key <= Qt::Key_9) return Offset(kVkNumpad0, qt_key - Qt::Key_0);
    if (const std::optional<std::uint8_t> key = Find(kKeypadToVirtualKey, qt_key)) return key;
  }
  if (qt_key >= Qt::Key_A && qt_key <= Qt::Key_Z) return Offset(kVkLetterA, qt_key - Qt::Key_A);
  if (qt_key >= Qt::Key_0 && qt_key <= Qt::Key_9) return Offset(kVkDigit0, qt_key - Qt::Key_0);
  if (qt_key >= Qt::Key_F1 && qt_key < Qt::Key_F1 + kFunctionKeyCount) {
    return Offset(kVkF1, qt_key - Qt::Key_F1);
  }
  return Find(kQtKeyToVirtualKey, qt_key);
}

}  // namespace qp40
