// Capture of a key press for the key dialog: input event codes, X keycodes and Qt keys to
// keyboard usages.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "ui/key_editor/key_capture.h"

namespace qp40 {
namespace {

using Usage = std::optional<std::uint8_t>;

struct CodeCase {
  std::uint32_t code;
  Usage usage;
};

TEST(KeyCaptureTest, EvdevCodesGiveTheirUsage) {
  const std::vector<CodeCase> cases = {
      // letters, digits and the main block
      {30, 0x04},  // A
      {48, 0x05},  // B
      {44, 0x1D},  // Z
      {16, 0x14},  // Q
      {2, 0x1E},   // 1
      {10, 0x26},  // 9
      {11, 0x27},  // 0
      {1, 0x29},   // Escape
      {28, 0x28},  // Enter
      {14, 0x2A},  // Backspace
      {15, 0x2B},  // Tab
      {57, 0x2C},  // Space
      {41, 0x35},  // `
      {43, 0x31},  // backslash
      {53, 0x38},  // /
      {58, 0x39},  // Caps Lock
      // function keys, both ranges of codes
      {59, 0x3A},   // F1
      {68, 0x43},   // F10
      {87, 0x44},   // F11
      {88, 0x45},   // F12
      {183, 0x68},  // F13
      {194, 0x73},  // F24
      // keypad
      {69, 0x53},   // Num Lock
      {98, 0x54},   // /
      {55, 0x55},   // *
      {96, 0x58},   // Enter
      {79, 0x59},   // 1
      {73, 0x61},   // 9
      {82, 0x62},   // 0
      {83, 0x63},   // .
      {117, 0x67},  // =
      // modifiers, left and right
      {29, 0xE0},
      {42, 0xE1},
      {56, 0xE2},
      {125, 0xE3},
      {97, 0xE4},
      {54, 0xE5},
      {100, 0xE6},
      {126, 0xE7},
      // international keys
      {86, 0x64},   // 102nd key
      {89, 0x87},   // Ro
      {93, 0x88},   // Katakana/Hiragana
      {124, 0x89},  // Yen
      {92, 0x8A},   // Henkan
      {94, 0x8B},   // Muhenkan
      {122, 0x90},  // Hangul
      {123, 0x91},  // Hanja
      // navigation and editing
      {103, 0x52},  // Up
      {105, 0x50},  // Left
      {106, 0x4F},  // Right
      {108, 0x51},  // Down
      {110, 0x49},  // Insert
      {111, 0x4C},  // Delete
      {102, 0x4A},  // Home
      {107, 0x4D},  // End
      {104, 0x4B},  // Page Up
      {109, 0x4E},  // Page Down
      {99, 0x46},   // Print Screen
      {119, 0x48},  // Pause
      {127, 0x65},  // Application
      // no key
      {0, std::nullopt},
      {84, std::nullopt},
      {101, std::nullopt},
      {112, std::nullopt},
      {195, std::nullopt},
      {248, std::nullopt},
      {0xFFFFFFFF, std::nullopt},
  };
  for (const CodeCase& c : cases) EXPECT_EQ(HidUsageFromEvdev(c.code), c.usage) << c.code;
}

// Two physical keys with one usage would make a captured key stand for the wrong one.
TEST(KeyCaptureTest, NoTwoEvdevCodesShareAUsage) {
  std::map<std::uint8_t, std::uint32_t> code_of_usage;
  for (std::uint32_t code = 0; code < 1024; ++code) {
    const Usage usage = HidUsageFromEvdev(code);
    if (!usage) continue;
    const auto [it, inserted] = code_of_usage.emplace(*usage, code);
    EXPECT_TRUE(inserted) << "codes " << it->second << " and " << code << " both give usage "
                          << int{*usage};
  }
}

TEST(KeyCaptureTest, NativeScanCodesAreXKeycodes) {
  const std::vector<CodeCase> cases = {
      {38, 0x04},   // a
      {9, 0x29},    // Escape
      {36, 0x28},   // Return
      {50, 0xE1},   // Left Shift
      {108, 0xE6},  // Right Alt
      {202, 0x73},  // F24
      {8, std::nullopt}, {92, std::nullopt}, {203, std::nullopt}, {0xFFFFFFFF, std::nullopt},
  };
  for (const CodeCase& c : cases) EXPECT_EQ(HidUsageFromNativeScanCode(c.code), c.usage) << c.code;
  for (std::uint32_t code = 0; code < 8; ++code) {
    EXPECT_EQ(HidUsageFromNativeScanCode(code), std::nullopt) << code;
  }
}

TEST(KeyCaptureTest, QtKeysGiveTheUsKeyUsage) {
  struct Case {
    int qt_key;
    Usage usage;
  };
  const std::vector<Case> cases = {
      {Qt::Key_A, 0x04},
      {Qt::Key_Z, 0x1D},
      {Qt::Key_1, 0x1E},
      {Qt::Key_9, 0x26},
      {Qt::Key_0, 0x27},
      {Qt::Key_F1, 0x3A},
      {Qt::Key_F12, 0x45},
      {Qt::Key_F13, 0x68},
      {Qt::Key_F24, 0x73},
      {Qt::Key_Return, 0x28},
      {Qt::Key_Enter, 0x58},
      {Qt::Key_Escape, 0x29},
      {Qt::Key_Backspace, 0x2A},
      {Qt::Key_Tab, 0x2B},
      {Qt::Key_Backtab, 0x2B},
      {Qt::Key_Space, 0x2C},
      {Qt::Key_Left, 0x50},
      {Qt::Key_Up, 0x52},
      {Qt::Key_Right, 0x4F},
      {Qt::Key_Down, 0x51},
      {Qt::Key_Insert, 0x49},
      {Qt::Key_Delete, 0x4C},
      {Qt::Key_Home, 0x4A},
      {Qt::Key_End, 0x4D},
      {Qt::Key_PageUp, 0x4B},
      {Qt::Key_PageDown, 0x4E},
      {Qt::Key_Minus, 0x2D},
      {Qt::Key_QuoteLeft, 0x35},
      {Qt::Key_Slash, 0x38},
      {Qt::Key_Exclam, 0x1E},
      {Qt::Key_ParenRight, 0x27},
      {Qt::Key_Question, 0x38},
      {Qt::Key_Control, 0xE0},
      {Qt::Key_Shift, 0xE1},
      {Qt::Key_Alt, 0xE2},
      {Qt::Key_Meta, 0xE3},
      {Qt::Key_unknown, std::nullopt},
      {0, std::nullopt},
      {Qt::Key_F25, std::nullopt},
      {Qt::Key_Eacute, std::nullopt},
      {Qt::Key_VolumeUp, std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(HidUsageFromQtKey(c.qt_key), c.usage) << c.qt_key;
}

TEST(KeyCaptureTest, KeyEventsPreferTheScanCode) {
  struct Case {
    const char* name;
    quint32 scan_code;
    int qt_key;
    Usage usage;
  };
  const std::vector<Case> cases = {
      {"X11 a on a US layout", 38, Qt::Key_A, 0x04},
      {"X11 a on a French layout", 38, Qt::Key_Q, 0x04},
      {"X11 a with no Qt key", 38, Qt::Key_unknown, 0x04},
      {"no scan code", 0, Qt::Key_Return, 0x28},
      {"scan code of no key", 92, Qt::Key_Return, 0x28},
      {"neither known", 0, Qt::Key_unknown, std::nullopt},
  };
  for (const Case& c : cases) {
    const QKeyEvent event(QEvent::KeyPress, c.qt_key, Qt::NoModifier, c.scan_code, 0, 0);
    EXPECT_EQ(HidUsageOfKeyEvent(event), c.usage) << c.name;
  }
}

}  // namespace
}  // namespace qp40
