// Qt keys to the virtual-key codes the macro recorder writes, and the names they come out as.
#include "ui/macro_editor/virtual_keys.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "keys/name_tables.h"

namespace qp40 {
namespace {

using VirtualKey = std::optional<std::uint8_t>;

struct KeyCase {
  int qt_key;
  Qt::KeyboardModifiers modifiers;
  VirtualKey virtual_key;
};

TEST(VirtualKeysTest, QtKeysGiveTheirVirtualKeyCodes) {
  constexpr Qt::KeyboardModifiers kNone;
  constexpr Qt::KeyboardModifiers kKeypad = Qt::KeypadModifier;
  const std::vector<KeyCase> cases = {
      // the runs and their ends
      {Qt::Key_A, kNone, 0x41},
      {Qt::Key_Z, kNone, 0x5A},
      {Qt::Key_0, kNone, 0x30},
      {Qt::Key_9, kNone, 0x39},
      {Qt::Key_F1, kNone, 0x70},
      {Qt::Key_F12, kNone, 0x7B},
      {Qt::Key_F24, kNone, 0x87},
      {Qt::Key_F25, kNone, std::nullopt},
      // other modifiers do not change the key
      {Qt::Key_A, Qt::ShiftModifier | Qt::ControlModifier, 0x41},
      {Qt::Key_Shift, Qt::ShiftModifier, 0x10},
      {Qt::Key_Control, kNone, 0x11},
      {Qt::Key_Alt, kNone, 0x12},
      {Qt::Key_Return, kNone, 0x0D},
      {Qt::Key_Enter, kKeypad, 0x0D},
      {Qt::Key_Escape, kNone, 0x1B},
      {Qt::Key_Backspace, kNone, 0x08},
      {Qt::Key_Tab, kNone, 0x09},
      {Qt::Key_Backtab, Qt::ShiftModifier, 0x09},
      {Qt::Key_Space, kNone, 0x20},
      {Qt::Key_PageUp, kNone, 0x21},
      {Qt::Key_PageDown, kNone, 0x22},
      {Qt::Key_End, kNone, 0x23},
      {Qt::Key_Home, kNone, 0x24},
      {Qt::Key_Left, kNone, 0x25},
      {Qt::Key_Up, kNone, 0x26},
      {Qt::Key_Right, kNone, 0x27},
      {Qt::Key_Down, kNone, 0x28},
      {Qt::Key_Insert, kNone, 0x2D},
      {Qt::Key_Delete, kNone, 0x2E},
      {Qt::Key_Meta, kNone, 0x5B},
      {Qt::Key_Super_L, kNone, 0x5B},
      {Qt::Key_Super_R, kNone, 0x5B},
      {Qt::Key_Menu, kNone, 0x5D},
      {Qt::Key_CapsLock, kNone, 0x14},
      {Qt::Key_NumLock, kKeypad, 0x90},
      {Qt::Key_ScrollLock, kNone, 0x91},
      {Qt::Key_Pause, kNone, 0x13},
      {Qt::Key_Print, kNone, 0x2C},
      // the keypad: digits and operators have codes of their own, the rest is navigation
      {Qt::Key_0, kKeypad, 0x60},
      {Qt::Key_9, kKeypad | Qt::ShiftModifier, 0x69},
      {Qt::Key_Asterisk, kKeypad, 0x6A},
      {Qt::Key_Plus, kKeypad, 0x6B},
      {Qt::Key_Minus, kKeypad, 0x6D},
      {Qt::Key_Period, kKeypad, 0x6E},
      {Qt::Key_Slash, kKeypad, 0x6F},
      {Qt::Key_Home, kKeypad, 0x24},
      {Qt::Key_Delete, kKeypad, 0x2E},
      // US-layout punctuation and its shifted forms
      {Qt::Key_Semicolon, kNone, 0xBA},
      {Qt::Key_Colon, Qt::ShiftModifier, 0xBA},
      {Qt::Key_Equal, kNone, 0xBB},
      {Qt::Key_Plus, Qt::ShiftModifier, 0xBB},
      {Qt::Key_Comma, kNone, 0xBC},
      {Qt::Key_Less, Qt::ShiftModifier, 0xBC},
      {Qt::Key_Minus, kNone, 0xBD},
      {Qt::Key_Underscore, Qt::ShiftModifier, 0xBD},
      {Qt::Key_Period, kNone, 0xBE},
      {Qt::Key_Greater, Qt::ShiftModifier, 0xBE},
      {Qt::Key_Slash, kNone, 0xBF},
      {Qt::Key_Question, Qt::ShiftModifier, 0xBF},
      {Qt::Key_QuoteLeft, kNone, 0xC0},
      {Qt::Key_AsciiTilde, Qt::ShiftModifier, 0xC0},
      {Qt::Key_BracketLeft, kNone, 0xDB},
      {Qt::Key_BraceLeft, Qt::ShiftModifier, 0xDB},
      {Qt::Key_Backslash, kNone, 0xDC},
      {Qt::Key_Bar, Qt::ShiftModifier, 0xDC},
      {Qt::Key_BracketRight, kNone, 0xDD},
      {Qt::Key_BraceRight, Qt::ShiftModifier, 0xDD},
      {Qt::Key_Apostrophe, kNone, 0xDE},
      {Qt::Key_QuoteDbl, Qt::ShiftModifier, 0xDE},
      // shifted digits are typed on their digit key
      {Qt::Key_Exclam, Qt::ShiftModifier, 0x31},
      {Qt::Key_Asterisk, Qt::ShiftModifier, 0x38},
      {Qt::Key_ParenRight, Qt::ShiftModifier, 0x30},
      // keys without a code
      {Qt::Key_unknown, kNone, std::nullopt},
      {Qt::Key_Eacute, kNone, std::nullopt},
      {Qt::Key_VolumeUp, kNone, std::nullopt},
      {0, kNone, std::nullopt},
  };
  for (const KeyCase& c : cases) {
    EXPECT_EQ(VirtualKeyFromQtKey(c.qt_key, c.modifiers), c.virtual_key)
        << "Qt key 0x" << std::hex << c.qt_key << " modifiers 0x" << c.modifiers.toInt();
  }
}

TEST(VirtualKeysTest, RecordedKeysComeOutByTheirScriptNames) {
  struct NameCase {
    int qt_key;
    std::string_view name;
  };
  const NameCase cases[] = {
      {Qt::Key_A, "a"},
      {Qt::Key_Shift, "Shift"},
      {Qt::Key_Return, "Enter"},
      {Qt::Key_F1, "F1"},
  };
  for (const NameCase& c : cases) {
    const VirtualKey key = VirtualKeyFromQtKey(c.qt_key);
    ASSERT_TRUE(key.has_value()) << c.name;
    EXPECT_EQ(VirtualKeyName(*key), c.name);
  }
  EXPECT_FALSE(VirtualKeyFromQtKey(Qt::Key_unknown).has_value());
}

}  // namespace
}  // namespace qp40
