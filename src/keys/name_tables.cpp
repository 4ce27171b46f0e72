#include "keys/name_tables.h"

#include <array>

namespace qp40 {
namespace {

constexpr std::string_view kDigits = "0123456789";
constexpr std::string_view kLetters = "abcdefghijklmnopqrstuvwxyz";

constexpr std::array<std::string_view, kVirtualKeyNameCount> MakeVirtualKeyNames() {
  std::array<std::string_view, kVirtualKeyNameCount> names{};
  for (auto& name : names) name = "NULL";
  names[0x00] = "MouseUP";
  names[0x01] = "M_Left";
  names[0x02] = "M_Right";
  names[0x08] = "Backspace";
  names[0x09] = "Tab";
  names[0x0D] = "Enter";
  names[0x10] = "Shift";
  names[0x11] = "Ctrl";
  names[0x12] = "Alt";
  names[0x13] = "Pause";
  names[0x14] = "CapsLock";
  names[0x1B] = "Esc";
  names[0x20] = "Space";
  names[0x21] = "PageUp";
  names[0x22] = "PageDown";
  names[0x23] = "End";
  names[0x24] = "Home";
  names[0x25] = "Left";
  names[0x26] = "Up";
  names[0x27] = "Right";
  names[0x28] = "Down";
  names[0x2C] = "PrtSc";
  names[0x2D] = "Insert";
  names[0x2E] = "Del";
  for (std::size_t i = 0; i < kDigits.size(); ++i) names[0x30 + i] = kDigits.substr(i, 1);
  // Letter keys are named in lower case.
  for (std::size_t i = 0; i < kLetters.size(); ++i) names[0x41 + i] = kLetters.substr(i, 1);
  names[0x5B] = "Window";
  names[0x5D] = "Attr";
  constexpr std::array<std::string_view, 10> kNumPad = {"Num0", "Num1", "Num2", "Num3", "Num4",
                                                        "Num5", "Num6", "Num7", "Num8", "Num9"};
  for (std::size_t i = 0; i < kNumPad.size(); ++i) names[0x60 + i] = kNumPad[i];
  names[0x6A] = "Num*";
  names[0x6B] = "Num+";
  names[0x6D] = "Num-";
  names[0x6E] = "Num.";
  names[0x6F] = "Num/";
  constexpr std::array<std::string_view, 12> kFunction = {"F1", "F2", "F3", "F4",  "F5",  "F6",
                                                          "F7", "F8", "F9", "F10", "F11", "F12"};
  for (std::size_t i = 0; i < kFunction.size(); ++i) names[0x70 + i] = kFunction[i];
  names[0x90] = "NumLock";
  names[0x91] = "Scroll";
  names[0xBA] = ";";
  names[0xBB] = "=";
  names[0xBC] = ",";
  names[0xBD] = "-";
  names[0xBE] = ".";
  names[0xBF] = "/";
  names[0xC0] = "`";
  names[0xDB] = "[";
  names[0xDC] = "\\";
  names[0xDD] = "]";
  names[0xDE] = "'";
  return names;
}

constexpr auto kVirtualKeyNames = MakeVirtualKeyNames();

constexpr std::array<std::string_view, kMediaKeyCount> kMediaKeyNames = {
    ">>|",
    "|<<",
    "Stop",
    "Play",
    "Mute",
    "Bass Boost",
    "Volume+",
    "Volume-",
    "Bass Increment",
    "Bass Decrement",
    "Treble Increment",
    "Treble Decrement",
    "Video",
    "Email",
    "Calculator",
    "My PC",
    "Search",
    "Web",
    "Back",
    "Forward",
    "Cancel",
    "Refresh",
    "Bookmarks",
    "Null",
    "PowerDown",
    "Sleep",
    "WakeUp",
};

struct MouseEntry {
  std::string_view name;
  std::uint8_t button_byte;
};

constexpr std::array<MouseEntry, kMouseNameCount> kMouseNames = {{
    {"M_Left", 0x01},
    {"M_Right", 0x02},
    {"M_Middle", 0x04},
    {"M_Button4", 0x08},
    {"M_Button5", 0x10},
    {"M_Button6", 0x20},
    {"M_Button7", 0x40},
    {"M_Button8", 0x80},
    {"M_Wheel", 0xFF},
    {"Move", 0x00},
}};

constexpr std::array<ScreenKey, kScreenKeyCount> kScreenKeys = {{
    // 0..17: no text of their own.
    {"Esc", "?"},
    {"F1", "?"},
    {"F2", "?"},
    {"F3", "?"},
    {"F4", "?"},
    {"F5", "?"},
    {"F6", "?"},
    {"F7", "?"},
    {"F8", "?"},
    {"F9", "?"},
    {"F10", "?"},
    {"F11", "?"},
    {"F12", "?"},
    {"PrtSc", "?"},
    {"Scroll", "?"},
    {"Pause", "?"},
    {"PageUp", "?"},
    {"PageDown", "?"},
    // 18..30.
    {"`", "`"},
    {"1", "1"},
    {"2", "2"},
    {"3", "3"},
    {"4", "4"},
    {"5", "5"},
    {"6", "6"},
    {"7", "7"},
    {"8", "8"},
    {"9", "9"},
    {"0", "0"},
    {"-", "-"},
    {"=", "="},
    // 31..37.
    {"Backspace", "^b"},
    {"NumLock", "^N"},
    {"Num/", "^/"},
    {"Num*", "^*"},
    {"Num-", "^-"},
    {"Insert", "?"},
    {"Tab", "^t"},
    // 38..50.
    {"q", "q"},
    {"w", "w"},
    {"e", "e"},
    {"r", "r"},
    {"t", "t"},
    {"y", "y"},
    {"u", "u"},
    {"i", "i"},
    {"o", "o"},
    {"p", "p"},
    {"[", "["},
    {"]", "]"},
    {"\\", "\\"},
    // 51..56.
    {"Num7", "^7"},
    {"Num8", "^8"},
    {"Num9", "^9"},
    {"Num+", "^+"},
    {"Home", "?"},
    {"CapsLock", "?"},
    // 57..67.
    {"a", "a"},
    {"s", "s"},
    {"d", "d"},
    {"f", "f"},
    {"g", "g"},
    {"h", "h"},
    {"j", "j"},
    {"k", "k"},
    {"l", "l"},
    {";", ";"},
    {"'", "'"},
    // 68..74.
    {"Enter", "^e"},
    {"Num4", "^4"},
    {"Num5", "^5"},
    {"Num6", "^6"},
    {"Del", "?"},
    {"End", "?"},
    {"Shift", "^s"},
    // 75..84.
    {"z", "z"},
    {"x", "x"},
    {"c", "c"},
    {"v", "v"},
    {"b", "b"},
    {"n", "n"},
    {"m", "m"},
    {",", ","},
    {".", "."},
    {"/", "/"},
    // 85..105.
    {"Shift_R", "^S"},
    {"Num1", "^1"},
    {"Num2", "^2"},
    {"Num3", "^3"},
    {"Up", "^U"},
    {"Left", "^L"},
    {"Ctrl", "^c"},
    {"Window", "^w"},
    {"Alt", "^a"},
    {"Fn1", "?"},
    {"Space", " "},
    {"Alt_R", "^A"},
    {"Win_R", "^W"},
    {"Attr", "?"},
    {"Ctrl_R", "^C"},
    {"Num0", "^0"},
    {"Num.", "^."},
    {"NumEnter", "^E"},
    {"Down", "^D"},
    {"Right", "^R"},
    {"Fn2", "?"},
    // 106..122: keys of the keypad itself.
    {"J1", "?"},
    {"J2", "?"},
    {"J3", "?"},
    {"J4", "?"},
    {"M1", "?"},
    {"M2", "?"},
    {"M3", "?"},
    {"M4", "?"},
    {"M5", "?"},
    {"M6", "?"},
    {"M7", "?"},
    {"M8", "?"},
    {"Cfg0", "?"},
    {"Cfg1", "?"},
    {"Cfg2", "?"},
    {"Cfg3", "?"},
    {"Light", "?"},
}};

static_assert(kScreenKeys[95].name == "Space" && kScreenKeys[122].name == "Light");

constexpr std::array<std::string_view, kTypeNameCount> kTypeNames = {
    "0 Keyboard Function",
    "1 Multimedia Function",
    "2 Mouse Function",
    "3 Windows Shortcut",
    "4 Hotkey & Burst",
    "5 String Function",
    "6 Macro Trigger",
    "7 Tools Key",
    "8 Disable Key",
    "9 Reserved",
    "A Reserved",
    "B Reserved ",
    "C Null",
};

constexpr std::array<std::string_view, kStopModeCount> kStopModes = {"0 Auto Run", "1 Second Click",
                                                                     "2 Key Release"};

template <typename Table>
std::string_view NameAt(const Table& table, std::size_t index) {
  return index < table.size() ? table[index] : std::string_view();
}

}  // namespace

std::string_view VirtualKeyName(std::size_t virtual_key) {
  return NameAt(kVirtualKeyNames, virtual_key);
}

std::string_view MediaKeyName(std::size_t media_code) { return NameAt(kMediaKeyNames, media_code); }

std::string_view MouseName(std::size_t position) {
  return position < kMouseNames.size() ? kMouseNames[position].name : std::string_view();
}

std::optional<std::uint8_t> MouseButtonByte(std::size_t position) {
  if (position >= kMouseNames.size()) return std::nullopt;
  return kMouseNames[position].button_byte;
}

ScreenKey ScreenKeyAt(std::size_t screen_key) {
  return screen_key < kScreenKeys.size() ? kScreenKeys[screen_key] : ScreenKey{};
}

std::string_view TypeName(std::size_t type_index) { return NameAt(kTypeNames, type_index); }

std::string_view StopModeName(std::size_t stop_mode) { return NameAt(kStopModes, stop_mode); }

}  // namespace qp40
