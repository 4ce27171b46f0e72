#include "keys/name_tables.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>

#include "keys/key_words.h"

namespace qp40 {
namespace {

TEST(NameTablesTest, VirtualKeyNames) {
  const struct {
    std::size_t key;
    std::string_view name;
  } cases[] = {
      {0, "MouseUP"}, {1, "M_Left"},    {2, "M_Right"},  {3, "NULL"},   {8, "Backspace"},
      {13, "Enter"},  {20, "CapsLock"}, {27, "Esc"},     {32, "Space"}, {40, "Down"},
      {44, "PrtSc"},  {46, "Del"},      {47, "NULL"},    {48, "0"},     {57, "9"},
      {65, "a"},      {90, "z"},        {91, "Window"},  {92, "NULL"},  {93, "Attr"},
      {96, "Num0"},   {105, "Num9"},    {106, "Num*"},   {107, "Num+"}, {108, "NULL"},
      {109, "Num-"},  {110, "Num."},    {111, "Num/"},   {112, "F1"},   {123, "F12"},
      {124, "NULL"},  {144, "NumLock"}, {145, "Scroll"}, {186, ";"},    {192, "`"},
      {219, "["},     {220, "\\"},      {222, "'"},      {255, "NULL"}, {259, "NULL"},
      {260, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(VirtualKeyName(c.key), c.name) << "key " << c.key;
}

TEST(NameTablesTest, RecordedKeyNamesAreKeyWords) {
  // The recorder writes these names into scripts, which read them back as key words.
  for (std::size_t key = 1; key < kVirtualKeyNameCount; ++key) {
    const std::string_view name = VirtualKeyName(key);
    if (name != "NULL") {
      EXPECT_TRUE(LookupWord(name).found) << name;
    }
  }
}

TEST(NameTablesTest, MediaKeyNames) {
  EXPECT_EQ(MediaKeyName(0), ">>|");
  EXPECT_EQ(MediaKeyName(14), "Calculator");
  EXPECT_EQ(MediaKeyName(23), "Null");
  EXPECT_EQ(MediaKeyName(26), "WakeUp");
  EXPECT_EQ(MediaKeyName(27), "");
}

TEST(NameTablesTest, MouseNamesAndButtonBytes) {
  const struct {
    std::size_t position;
    std::string_view name;
    std::uint8_t button_byte;
  } cases[] = {
      {0, "M_Left", 0x01},    {1, "M_Right", 0x02},   {2, "M_Middle", 0x04},
      {3, "M_Button4", 0x08}, {4, "M_Button5", 0x10}, {5, "M_Button6", 0x20},
      {6, "M_Button7", 0x40}, {7, "M_Button8", 0x80}, {8, "M_Wheel", 0xFF},
      {9, "Move", 0x00},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MouseName(c.position), c.name);
    EXPECT_EQ(MouseButtonByte(c.position), c.button_byte) << c.name;
  }
  EXPECT_EQ(MouseName(kMouseNameCount), "");
  EXPECT_EQ(MouseButtonByte(kMouseNameCount), std::nullopt);
}

TEST(NameTablesTest, ScreenKeys) {
  const struct {
    std::size_t key;
    std::string_view name;
    std::string_view text;
  } cases[] = {
      {0, "Esc", "?"},         {17, "PageDown", "?"}, {18, "`", "`"},        {30, "=", "="},
      {31, "Backspace", "^b"}, {36, "Insert", "?"},   {37, "Tab", "^t"},     {50, "\\", "\\"},
      {54, "Num+", "^+"},      {56, "CapsLock", "?"}, {67, "'", "'"},        {68, "Enter", "^e"},
      {74, "Shift", "^s"},     {84, "/", "/"},        {85, "Shift_R", "^S"}, {91, "Ctrl", "^c"},
      {95, "Space", " "},      {99, "Ctrl_R", "^C"},  {105, "Fn2", "?"},     {106, "J1", "?"},
      {122, "Light", "?"},     {123, "", ""},
  };
  for (const auto& c : cases) {
    const ScreenKey key = ScreenKeyAt(c.key);
    EXPECT_EQ(key.name, c.name) << "screen key " << c.key;
    EXPECT_EQ(key.text, c.text) << "screen key " << c.key;
  }
}

TEST(NameTablesTest, EveryScreenKeyNameIsAKeyWord) {
  for (std::size_t key = 0; key < kScreenKeyCount; ++key) {
    EXPECT_TRUE(LookupWord(ScreenKeyAt(key).name).found) << "screen key " << key;
  }
}

TEST(NameTablesTest, TypeAndStopModeNames) {
  EXPECT_EQ(TypeName(0), "0 Keyboard Function");
  EXPECT_EQ(TypeName(4), "4 Hotkey & Burst");
  EXPECT_EQ(TypeName(11), "B Reserved ");  // with its trailing blank
  EXPECT_EQ(TypeName(12), "C Null");
  EXPECT_EQ(TypeName(13), "");
  EXPECT_EQ(StopModeName(0), "0 Auto Run");
  EXPECT_EQ(StopModeName(2), "2 Key Release");
  EXPECT_EQ(StopModeName(3), "");
}

}  // namespace
}  // namespace qp40
