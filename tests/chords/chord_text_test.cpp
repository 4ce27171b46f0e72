#include "chords/chord_text.h"

#include <gtest/gtest.h>

#include <string>

namespace qp40 {
namespace {

constexpr std::string_view kArrow = "\xE2\x86\x92";

// The list line of record number 1 alone.
std::string ListLine(const ChordRecord& record) {
  ChordTable table{};
  table[0] = record;
  const std::string text = ChordListText(table);
  return text.substr(0, text.find("\r\n") + 2);
}

TEST(ChordTextTest, ListLinesSpellKeysModifiersAndOutputs) {
  struct Case {
    ChordRecord record;
    std::string line;
  };
  const Case cases[] = {
      {{0, 0, 0, 0, 0, 0, 0, 0}, "No. 1 :  \r\n"},
      {{0x16, 0x07, 0x00, 0x28, 0, 0, 0, 0},
       "No. 1 :  s d" + std::string(kArrow) + "  + Enter\r\n"},
      // Left and right-hand bits both name the modifier; Window has only its left bit.
      {{0x2C, 0x04, 0x13, 0x1A, 0x07, 0x06, 0, 0},
       "No. 1 :  Space a" + std::string(kArrow) + "  Ctrl  Shift  + w + d + c\r\n"},
      {{0x04, 0, 0x10, 0x05, 0, 0, 0, 0}, "No. 1 :  a Ctrl  + b\r\n"},
      {{0x04, 0, 0x6C, 0x05, 0, 0, 0, 0}, "No. 1 :  a Shift  Alt  Window  + b\r\n"},
      // A sixth output replaces the modifiers and comes last.
      {{0x04, 0x05, 0xA8, 0x06, 0x07, 0x08, 0x09, 0x0A},
       "No. 1 :  a b" + std::string(kArrow) + "     + c + d + e + f + g + Enter\r\n"},
      // Codes without a key word are left out.
      {{0x90, 0x90, 0x80 | 0x7F, 0x90, 0x04, 0, 0, 0}, "No. 1 :      + a\r\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ListLine(c.record), c.line);
  }
}

TEST(ChordTextTest, ListHasThirtyTwoNumberedLines) {
  ChordTable table{};
  table[31] = {0x04, 0, 0, 0, 0, 0, 0, 0};
  const std::string text = ChordListText(table);
  EXPECT_EQ(text.find("No. 9 :  \r\nNo.10 :  \r\n"), 8u * 11u);
  EXPECT_EQ(text.substr(text.size() - 12), "No.32 :  a\r\n");
}

TEST(ChordTextTest, FieldsShowNamesAndLeftHandModifierBoxes) {
  const ChordFieldTexts ctrl_both = ChordFields({0x16, 0x07, 0x11, 0x28, 0x2C, 0, 0x90, 0});
  EXPECT_EQ(ctrl_both.first_key, "s");
  EXPECT_EQ(ctrl_both.second_key, "d");
  EXPECT_EQ(ctrl_both.outputs, (std::array<std::string, 5>{"Enter", "Space", "", "", ""}));
  EXPECT_EQ(ctrl_both.sixth_output, "");
  EXPECT_EQ(ctrl_both.modifier_boxes, (std::array<bool, 4>{true, false, false, false}));

  const ChordFieldTexts ctrl_right = ChordFields({0x04, 0, 0x10, 0, 0, 0, 0, 0});
  EXPECT_EQ(ctrl_right.modifier_boxes, (std::array<bool, 4>{false, false, false, false}));
  EXPECT_EQ(ChordFields({0, 0, 0x0E, 0, 0, 0, 0, 0}).modifier_boxes,
            (std::array<bool, 4>{false, true, true, true}));

  const ChordFieldTexts sixth = ChordFields({0x04, 0x05, 0xA8, 0, 0, 0, 0, 0});
  EXPECT_EQ(sixth.sixth_output, "Enter");
  EXPECT_FALSE(sixth.modifier_boxes.has_value());
}

TEST(ChordTableTest, CutClearsOnlyASelectedRecord) {
  ChordTable table{};
  for (ChordRecord& record : table) {
    record.fill(0x04);
  }
  EXPECT_FALSE(CutChord(table, -1));
  EXPECT_FALSE(CutChord(table, 32));
  EXPECT_TRUE(CutChord(table, 31));
  EXPECT_EQ(table[31], ChordRecord{});
  EXPECT_EQ(table[30], (ChordRecord{4, 4, 4, 4, 4, 4, 4, 4}));
}

}  // namespace
}  // namespace qp40
