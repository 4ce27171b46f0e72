#include "ui/key_editor/key_capture.h"

#include <QKeyEvent>
#include <Qt>
#include <array>
#include <cstddef>

namespace qp40 {

namespace {

struct CodeToUsage {
  std::uint16_t code;
  std::uint8_t usage;
};

// Linux input event codes of a PC keyboard and their keyboard usages. The kernel gives the key
// left of Enter on ISO boards (usage 0x32) the same code as backslash, so both read as 0x31.
constexpr auto kEvdevToUsage = std::to_array<CodeToUsage>({
    {1, 0x29},    // Escape
    {2, 0x1E},    // 1
    {3, 0x1F},    // 2
    {4, 0x20},    // 3
    {5, 0x21},    // 4
    {6, 0x22},    // 5
    {7, 0x23},    // 6
    {8, 0x24},    // 7
    {9, 0x25},    // 8
    {10, 0x26},   // 9
    {11, 0x27},   // 0
    {12, 0x2D},   // -
    {13, 0x2E},   // =
    {14, 0x2A},   // Backspace
    {15, 0x2B},   // Tab
    {16, 0x14},   // Q
    {17, 0x1A},   // W
    {18, 0x08},   // E
    {19, 0x15},   // R
    {20, 0x17},   // T
    {21, 0x1C},   // Y
    {22, 0x18},   // U
    {23, 0x0C},   // I
    {24, 0x12},   // O
    {25, 0x13},   // P
    {26, 0x2F},   // [
    {27, 0x30},   // ]
    {28, 0x28},   // Enter
    {29, 0xE0},   // Left Ctrl
    {30, 0x04},   // A
    {31, 0x16},   // S
    {32, 0x07},   // D
    {33, 0x09},   // F
    {34, 0x0A},   // G
    {35, 0x0B},   // H
    {36, 0x0D},   // J
    {37, 0x0E},   // K
    {38, 0x0F},   // L
    {39, 0x33},   // ;
    {40, 0x34},   // '
    {41, 0x35},   // `
    {42, 0xE1},   // Left Shift
    {43, 0x31},   // backslash
    {44, 0x1D},   // Z
    {45, 0x1B},   // X
    {46, 0x06},   // C
    {47, 0x19},   // V
    {48, 0x05},   // B
    {49, 0x11},   // N
    {50, 0x10},   // M
    {51, 0x36},   // ,
    {52, 0x37},   // .
    {53, 0x38},   // /
    {54, 0xE5},   // Right Shift
    {55, 0x55},   // Keypad *
    {56, 0xE2},   // Left Alt
    {57, 0x2C},   // Space
    {58, 0x39},   // Caps Lock
    {59, 0x3A},   // F1
    {60, 0x3B},   // F2
    {61, 0x3C},   // F3
    {62, 0x3D},   // F4
    {63, 0x3E},   // F5
    {64, 0x3F},   // F6
    {65, 0x40},   // F7
    {66, 0x41},   // F8
    {67, 0x42},   // F9
    {68, 0x43},   // F10
    {69, 0x53},   // Num Lock
    {70, 0x47},   // Scroll Lock
    {71, 0x5F},   // Keypad 7
    {72, 0x60},   // Keypad 8
    {73, 0x61},   // Keypad 9
    {74, 0x56},   // Keypad -
    {75, 0x5C},   // Keypad 4
    {76, 0x5D},   // Keypad 5
    {77, 0x5E},   // Keypad 6
    {78, 0x57},   // Keypad +
    {79, 0x59},   // Keypad 1
    {80, 0x5A},   // Keypad 2
    {81, 0x5B},   // Keypad 3
    {82, 0x62},   // Keypad 0
    {83, 0x63},   // Keypad .
    {85, 0x94},   // Zenkaku/Hankaku
    {86, 0x64},   // 102nd key, between Left Shift and Z
    {87, 0x44},   // F11
    {88, 0x45},   // F12
    {89, 0x87},   // Ro
    {90, 0x92},   // Katakana
    {91, 0x93},   // Hiragana
    {92, 0x8A},   // Henkan
    {93, 0x88},   // Katakana/Hiragana
    {94, 0x8B},   // Muhenkan
    {95, 0x8C},   // Keypad Japanese comma
    {96, 0x58},   // Keypad Enter
    {97, 0xE4},   // Right Ctrl
    {98, 0x54},   // Keypad /
    {99, 0x46},   // Print Screen
    {100, 0xE6},  // Right Alt
    {102, 0x4A},  // Home
    {103, 0x52},  // Up
    {104, 0x4B},  // Page Up
    {105, 0x50},  // Left
    {106, 0x4F},  // Right
    {107, 0x4D},  // End
    {108, 0x51},  // Down
    {109, 0x4E},  // Page Down
    {110, 0x49},  // Insert
    {111, 0x4C},  // Delete
    {113, 0x7F},  // Mute
    {114, 0x81},  // Volume Down
    {115, 0x80},  // Volume Up
    {116, 0x66},  // Power
    {117, 0x67},  // Keypad =
    {119, 0x48},  // Pause
    {121, 0x85},  // Keypad comma
    {122, 0x90},  // Hangul
    {123, 0x91},  // Hanja
    {124, 0x89},  // Yen
    {125, 0xE3},  // Left GUI
    {126, 0xE7},  // Right GUI
    {127, 0x65},  // Application (menu key)
    {128, 0x78},  // Stop
    {129, 0x79},  // Again
    {130, 0x76},  // Props (usage Menu)
    {131, 0x7A},  // Undo
    {132, 0x77},  // Front (usage Select)
    {133, 0x7C},  // Copy
    {134, 0x74},  // Open (usage Execute)
    {135, 0x7D},  // Paste
    {136, 0x7E},  // Find
    {137, 0x7B},  // Cut
    {138, 0x75},  // Help
    {179, 0xB6},  // Keypad (
    {180, 0xB7},  // Keypad )
    {183, 0x68},  // F13
    {184, 0x69},  // F14
    {185, 0x6A},  // F15
    {186, 0x6B},  // F16
    {187, 0x6C},  // F17
    {188, 0x6D},  // F18
    {189, 0x6E},  // F19
    {190, 0x6F},  // F20
    {191, 0x70},  // F21
    {192, 0x71},  // F22
    {193, 0x72},  // F23
    {194, 0x73},  // F24
});

// One past the highest input event code of the table.
constexpr std::size_t kEvdevLimit = 195;

// The table by input event code, 0 where no key is; usage 0 is no key on the keyboard page too.
constexpr std::array<std::uint8_t, kEvdevLimit> UsageByEvdev() {
  std::array<std::uint8_t, kEvdevLimit> by_code{};
  for (const CodeToUsage& entry : kEvdevToUsage) by_code[entry.code] = entry.usage;
  return by_code;
}
constexpr std::array<std::uint8_t, kEvdevLimit> kUsageByEvdev = UsageByEvdev();

constexpr bool EachCodeOnceInOrder() {
  for (std::size_t i = 1; i < kEvdevToUsage.size(); ++i) {
    if (kEvdevToUsage[i].code <= kEvdevToUsage[i - 1].code) return false;
  }
  return kEvdevToUsage.back().code < kEvdevLimit;
}
static_assert(EachCodeOnceInOrder(), "input event codes must rise and stay below the limit");

// X servers number keycodes from 8 up: the X keycode is the input event code plus 8.
constexpr std::uint32_t kXKeycodeOffset = 8;

struct QtKeyToUsage {
  int qt_key;
  std::uint8_t usage;
};

// The Qt keys that letters, digits and F-keys do not cover. Shifted symbols read as the US key
// that types them.
constexpr auto kQtKeyToUsage = std::to_array<QtKeyToUsage>({
    {Qt::Key_Return, 0x28},    {Qt::Key_Enter, 0x58},  // Qt names the keypad's Enter key so
    {Qt::Key_Escape, 0x29},    {Qt::Key_Backspace, 0x2A},    {Qt::Key_Tab, 0x2B},
    {Qt::Key_Backtab, 0x2B},  // Shift+Tab
    {Qt::Key_Space, 0x2C},     {Qt::Key_Minus, 0x2D},        {Qt::Key_Underscore, 0x2D},
    {Qt::Key_Equal, 0x2E},     {Qt::Key_Plus, 0x2E},         {Qt::Key_BracketLeft, 0x2F},
    {Qt::Key_BraceLeft, 0x2F}, {Qt::Key_BracketRight, 0x30}, {Qt::Key_BraceRight, 0x30},
    {Qt::Key_Backslash, 0x31}, {Qt::Key_Bar, 0x31},          {Qt::Key_Semicolon, 0x33},
    {Qt::Key_Colon, 0x33},     {Qt::Key_Apostrophe, 0x34},   {Qt::Key_QuoteDbl, 0x34},
    {Qt::Key_QuoteLeft, 0x35}, {Qt::Key_AsciiTilde, 0x35},   {Qt::Key_Comma, 0x36},
    {Qt::Key_Less, 0x36},      {Qt::Key_Period, 0x37},       {Qt::Key_Greater, 0x37},
    {Qt::Key_Slash, 0x38},     {Qt::Key_Question, 0x38},     {Qt::Key_Exclam, 0x1E},
    {Qt::Key_At, 0x1F},        {Qt::Key_NumberSign, 0x20},   {Qt::Key_Dollar, 0x21},
    {Qt::Key_Percent, 0x22},   {Qt::Key_AsciiCircum, 0x23},  {Qt::Key_Ampersand, 0x24},
    {Qt::Key_Asterisk, 0x25},  {Qt::Key_ParenLeft, 0x26},    {Qt::Key_ParenRight, 0x27},
    {Qt::Key_CapsLock, 0x39},  {Qt::Key_Print, 0x46},        {Qt::Key_ScrollLock, 0x47},
    {Qt::Key_Pause, 0x48},     {Qt::Key_Insert, 0x49},       {Qt::Key_Home, 0x4A},
    {Qt::Key_PageUp, 0x4B},    {Qt::Key_Delete, 0x4C},       {Qt::Key_End, 0x4D},
    {Qt::Key_PageDown, 0x4E},  {Qt::Key_Right, 0x4F},        {Qt::Key_Left, 0x50},
    {Qt::Key_Down, 0x51},      {Qt::Key_Up, 0x52},           {Qt::Key_NumLock, 0x53},
    {Qt::Key_Menu, 0x65},      {Qt::Key_Control, 0xE0},      {Qt::Key_Shift, 0xE1},
    {Qt::Key_Alt, 0xE2},       {Qt::Key_Meta, 0xE3},         {Qt::Key_Super_L, 0xE3},
    {Qt::Key_Super_R, 0xE7},   {Qt::Key_AltGr, 0xE6},  // the right Alt key
});

}  // namespace

std::optional<std::uint8_t> HidUsageFromEvdev(std::uint32_t evdev_code) {
  if (evdev_code >= kEvdevLimit || kUsageByEvdev[evdev_code] == 0) return std::nullopt;
  return kUsageByEvdev[evdev_code];
}

// Windows reports PC set-1 scan codes instead and will need a table of its own.
std::optional<std::uint8_t> HidUsageFromNativeScanCode(std::uint32_t native_scan_code) {
  if (native_scan_code < kXKeycodeOffset) return std::nullopt;
  return HidUsageFromEvdev(native_scan_code - kXKeycodeOffset);
}

std::optional<std::uint8_t> HidUsageFromQtKey(int qt_key) {
  if (qt_key >= Qt::Key_A && qt_key <= Qt::Key_Z) {
    return static_cast<std::uint8_t>(0x04 + (qt_key - Qt::Key_A));
  }
  if (qt_key >= Qt::Key_1 && qt_key <= Qt::Key_9) {
    return static_cast<std::uint8_t>(0x1E + (qt_key - Qt::Key_1));
  }
  if (qt_key == Qt::Key_0) return std::uint8_t{0x27};
  if (qt_key >= Qt::Key_F1 && qt_key <= Qt::Key_F12) {
    return static_cast<std::uint8_t>(0x3A + (qt_key - Qt::Key_F1));
  }
  if (qt_key >= Qt::Key_F13 && qt_key <= Qt::Key_F24) {
    return static_cast<std::uint8_t>(0x68 + (qt_key - Qt::Key_F13));
  }
  for (const QtKeyToUsage& entry : kQtKeyToUsage) {
    if (entry.qt_key == qt_key) return entry.usage;
  }
  return std::nullopt;
}

// A scan code the table does not know still leaves the Qt key to try.
std::optional<std::uint8_t> HidUsageOfKeyEvent(const QKeyEvent& event) {
  const std::optional<std::uint8_t> usage = HidUsageFromNativeScanCode(event.nativeScanCode());
  return usage ? usage : HidUsageFromQtKey(event.key());
}

}  // namespace qp40
