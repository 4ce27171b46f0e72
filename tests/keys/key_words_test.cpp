#include "keys/key_words.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace qp40 {
namespace {

struct KeyWordRow {
  std::size_t index;
  std::string_view name;
  std::uint8_t code;
};

// The first and last entry of every group, and the entries whose codes break a run.
constexpr KeyWordRow kKeyWordRows[] = {
    {0, "a", 0x04},           {25, "z", 0x1D},        {26, "A", 0x04},
    {51, "Z", 0x1D},          {52, "1", 0x1E},        {61, "0", 0x27},
    {62, "Enter", 0x28},      {71, "\\", 0x31},       {72, "#", 0x32},
    {79, "CapsLock", 0x39},   {80, "F1", 0x3A},       {89, "F10", 0x43},
    {90, "!", 0x1E},          {92, "#", 0x20},        {99, ")", 0x27},
    {100, "F11", 0x44},       {111, "Right", 0x4F},   {120, "NumEnter", 0x58},
    {129, "Num9", 0x61},      {130, "Num0", 0x62},    {131, "Num.", 0x63},
    {132, "Ctrl", 0xE0},      {139, "Win_R", 0xE7},   {140, "Fn1", 0xA5},
    {141, "Attr", 0x65},      {142, "Null", 0xFF},    {144, "Disabled", 0xFF},
    {145, "Fn2", 0xA6},       {149, "M4", 0xC9},      {150, "M5", 0xCC},
    {153, "M8", 0xCF},        {154, "Light", 0xCA},   {155, "Cfg0", 0xC0},
    {158, "Cfg3", 0xC3},      {159, "J1", 0x87},      {160, "J2", 0x88},
    {161, "J3", 0x8A},        {162, "J4", 0x8B},      {163, "M_Left", 0xF1},
    {170, "M_Button8", 0xF8}, {171, "M_Wheel", 0xF0}, {172, "Move", 0xFE},
    {173, "Layer1Up", 0xE8},  {177, "Profile", 0xEC}, {180, "Profile4", 0xEF},
    {181, "press", 0x80},     {182, "release", 0x79}, {186, "mouse", 0xA3},
    {187, "jump", 0x73},      {188, "~", 0x34},       {189, "_", 0x2D},
    {190, "+", 0x2E},         {191, "string", 0xB4},  {192, "burst", 0xB3},
    {193, "", 0x00},          {194, "01", 0x01},      {202, "09", 0x09},
    {203, "shortcut", 0xB1},  {204, "Reboot", 0xF9},  {205, " ", 0x2C},
    {206, "00", 0x00},        {207, "", 0x00},        {229, "", 0x00},
    {230, "", 0xFF},          {254, "", 0xFF},        {255, "", 0x00},
    {259, "", 0x00},
};

TEST(KeyWordTableTest, EntriesAsListed) {
  for (const auto& row : kKeyWordRows) {
    SCOPED_TRACE(row.index);
    EXPECT_EQ(KeyWordAt(row.index).name, row.name);
    EXPECT_EQ(KeyWordAt(row.index).code, row.code);
  }
}

TEST(KeyWordTableTest, OnlyEntry193AndTheSpareTailAreEmpty) {
  for (std::size_t i = 0; i < kKeyWordCount; ++i) {
    const bool empty_expected = i == 193 || i >= 207;
    EXPECT_EQ(KeyWordAt(i).name.empty(), empty_expected) << "entry " << i;
  }
}

TEST(KeyWordTableTest, IndexOutsideTableGivesAnEmptyEntry) {
  EXPECT_EQ(KeyWordAt(kKeyWordCount).name, "");
  EXPECT_EQ(KeyWordAt(100000).code, 0);
}

// Codes that no key word carries.
bool IsUnnamed(unsigned code) {
  auto in = [code](unsigned low, unsigned high) { return code >= low && code <= high; };
  return code == 0x64 || in(0x66, 0x72) || in(0x75, 0x76) || in(0x7A, 0x7F) || in(0x81, 0x86) ||
         code == 0x89 || in(0x8C, 0xA2) || code == 0xA4 || in(0xA7, 0xB0) || code == 0xB2 ||
         in(0xB5, 0xBF) || in(0xC4, 0xC5) || code == 0xCB || in(0xD0, 0xDF) || in(0xFA, 0xFD);
}

TEST(CodeToNameTest, ExactlyTheUnnamedCodesGiveTheTextForNone) {
  for (unsigned code = 0; code <= 0xFF; ++code) {
    const std::string_view name = CodeToName(static_cast<std::uint8_t>(code), "<none>");
    EXPECT_EQ(name == "<none>", IsUnnamed(code)) << "code " << code;
  }
}

TEST(CodeToNameTest, FirstEntryWins) {
  const struct {
    std::uint8_t code;
    std::string_view none;
    std::string_view name;
  } cases[] = {
      {0x04, "HID", "a"},     {0x1E, "HID", "1"},     {0x2C, "HID", "Space"},
      {0x2D, "HID", "-"},     {0x2E, "HID", "="},     {0x34, "HID", "'"},
      {0x20, "HID", "3"},     {0x32, "HID", "#"},     {0xFF, "HID", "Null"},
      {0x00, "HID", ""},      {0x00, "", ""},         {0x90, "HID", "HID"},
      {0x90, "", ""},         {0xE8, "", "Layer1Up"}, {0xF9, "", "Reboot"},
      {0x80, "HID", "press"}, {0x87, "HID", "J1"},    {0xEC, "HID", "Profile"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CodeToName(c.code, c.none), c.name) << "code " << int{c.code};
  }
}

TEST(LookupWordTest, NamesAndDecimalFallback) {
  const struct {
    std::string_view word;
    std::uint8_t code;
    bool found;
  } cases[] = {
      {"#", 0x32, true},  // entry 72, not 92
      {"A", 0x04, true},
      {"a", 0x04, true},
      {"", 0x00, true},  // entry 193
      {" ", 0x2C, true},
      {"Enter", 0x28, true},
      {"enter", 0x00, false},  // case-sensitive, and no digits
      {"Layer", 0xEA, true},
      {"layer", 0x00, false},
      {"1", 0x1E, true},  // the digit key, not the number 1
      {"0", 0x27, true},
      {"01", 0x01, true},
      {"00", 0x00, true},
      {"~", 0x34, true},
      {"-", 0x2D, true},
      {"+", 0x2E, true},
      {"12", 12, false},
      {"-20", 0xEC, false},
      {"300", 0x2C, false},
      {"-256", 0x00, false},
      {"  7", 7, false},
      {"\t+65", 65, false},
      {"5x", 5, false},
      {"x5", 0, false},
      {"--5", 0, false},
      {"  ", 0, false},
      {"99999999999999999999", 0xFF, false},  // 10^20 - 1: low byte 0xFF, no overflow
  };
  for (const auto& c : cases) {
    const WordLookupResult result = LookupWord(c.word);
    EXPECT_EQ(result.code, c.code) << '"' << c.word << '"';
    EXPECT_EQ(result.found, c.found) << '"' << c.word << '"';
  }
}

TEST(LookupWordTest, EveryKeyNameLeadsBackToItsCode) {
  for (unsigned code = 0; code <= 0xFF; ++code) {
    if (IsUnnamed(code)) continue;
    const std::string name(CodeToName(static_cast<std::uint8_t>(code), ""));
    const WordLookupResult result = LookupWord(name);
    EXPECT_TRUE(result.found) << name;
    EXPECT_EQ(result.code, code) << name;
  }
}

}  // namespace
}  // namespace qp40
