#include "picture/cheat_sheet.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "keys/board_layout.h"
#include "macros/macro_listing.h"
#include "picture/picture_test_support.h"

namespace qp40 {
namespace {

using testing::BlankConfiguration;
using testing::CompiledMacro;
using testing::ParsesAsXml;
using testing::PutBurst;
using testing::PutChainedString;
using testing::SetKey;

constexpr std::string_view kEllipsis = "\xE2\x80\xA6";

// One profile with a key of every kind, some of them on the positions where the boards differ.
Configuration SampleSheet(std::uint8_t board_code) {
  Configuration config = BlankConfiguration(board_code);
  for (int column = 1; column <= kGridColumnCount; ++column) {
    for (int row = 1; row <= kGridRowCount; ++row) {
      SetKey(config, 0, row, column,
             {kActionKey, static_cast<std::uint8_t>(0x04 + row * 8 + column), 0, 0});
    }
  }
  PutBurst(config, 1, "DIMLINEAR");
  PutBurst(config, 2, "x = 1; y = 2;");
  PutChainedString(config, 1, "Hello, cheat sheet & <friends>");
  PutChainedString(config, 9, "a<b&\"c\"");
  SetKey(config, 0, 1, 1, {kActionKey, 0x2C, 0, 0});
  SetKey(config, 0, 1, 2, {kActionModifierKey, 0x02, 0xE1, 0});
  SetKey(config, 0, 1, 3, {kActionMedia, 0x0E, 0, 0});
  SetKey(config, 0, 1, 4, {kActionMouse, 0x01, 0, 0});
  SetKey(config, 0, 1, 5, {kActionShortcut, 0x03, 0x06, 0x19});
  SetKey(config, 0, 1, 6, {kActionBurst, 0x04, 0, 1});
  SetKey(config, 0, 1, 7, {kActionString, 0x01, 8, 1});
  SetKey(config, 0, 2, 1, {kActionMacro, 5, 0, 2});
  SetKey(config, 0, 2, 2, {kActionTool, kProfileSwitchTool, 0, 0});
  SetKey(config, 0, 2, 3, {kActionDisabled, 0, 0, 0});
  SetKey(config, 0, 2, 4, {kActionReservedB, 0x04, 0x05, 0});
  SetKey(config, 0, 2, 5, {0x99, 0x12, 0x34, 0x56});  // a record the decoder does not know
  SetKey(config, 0, 5, 8, {kActionString, 0, 20, 9});
  SetKey(config, 0, 6, 5, {kActionMacro, 7, 0, 2});
  SetKey(config, 0, 6, 6, {kActionBurst, 0x88, 0, 2});
  return config;
}

CheatSheetExtras SampleExtras() {
  CheatSheetExtras extras;
  extras.macro_scripts[5] =
      ListMacro(CompiledMacro("press a 20\r\ndelay 200\r\nrelease a 20\r\n", 5));
  extras.macro_scripts[7] = ListMacro(CompiledMacro("press b 20\r\n", 7));
  ChordTable chords{};
  chords[0] = {0x16, 0x07, 0x00, 0x28, 0, 0, 0, 0};
  chords[3] = {0x2C, 0x04, 0x03, 0x1A, 0x07, 0x06, 0, 0};
  extras.chords = chords;
  return extras;
}

std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The sheet of profile 1 of each board type against its golden file. QP40_UPDATE_GOLDEN=1
// writes the files anew after a deliberate change of the drawing.
TEST(CheatSheetTest, EachBoardTypeMatchesItsGoldenFile) {
  const struct {
    std::uint8_t board_code;
    const char* file;
  } boards[] = {{kBoard48Keys, "sheet_48_keys.svg"},
                {kBoard46Keys, "sheet_46_keys.svg"},
                {kBoard44Keys, "sheet_44_keys.svg"},
                {kBoard43Keys, "sheet_43_keys.svg"}};
  for (const auto& board : boards) {
    SCOPED_TRACE(board.file);
    const std::string sheet =
        RenderCheatSheet(SampleSheet(board.board_code), SampleExtras(), {.profile = 0});
    const std::filesystem::path golden =
        std::filesystem::path(QP40_TEST_DATA) / "picture" / board.file;
    if (std::getenv("QP40_UPDATE_GOLDEN") != nullptr) {
      std::ofstream(golden, std::ios::binary) << sheet;
    }
    EXPECT_EQ(sheet, ReadText(golden));
    EXPECT_TRUE(ParsesAsXml(sheet));
  }
}

std::size_t Count(const std::string& text, std::string_view part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

TEST(CheatSheetTest, DrawsTheKeysOfTheBoardWithTheirShapes) {
  const struct {
    std::uint8_t board_code;
    int keys;
    const char* wide_key;  // a key the board widens, as its group and rectangle
  } boards[] = {
      {kBoard48Keys, 48, "<g id=\"p1-r6c6\">\n<rect x=\"624\" y=\"429\" width=\"117\""},
      {kBoard46Keys, 46, "<g id=\"p1-r6c6\">\n<rect x=\"504\" y=\"429\" width=\"237\""},
      {kBoard44Keys, 44,
       "<g id=\"p1-r5c1\">\n<rect x=\"24\" y=\"354\" width=\"117\" height=\"135\""},
      {kBoard43Keys, 43, "<g id=\"p1-r6c5\">\n<rect x=\"624\" y=\"429\" width=\"267\""},
  };
  for (const auto& board : boards) {
    const std::string sheet = RenderCheatSheet(SampleSheet(board.board_code), {}, {.profile = 0});
    EXPECT_EQ(Count(sheet, "<g id=\"p1-r"), static_cast<std::size_t>(board.keys));
    EXPECT_NE(sheet.find(std::to_string(board.keys) + " keys</text>"), std::string::npos);
    EXPECT_NE(sheet.find(board.wide_key), std::string::npos) << board.keys;
  }
}

TEST(CheatSheetTest, HardTextsStayValidXml) {
  Configuration config = BlankConfiguration(kBoard48Keys);
  PutChainedString(config, 1, "a<b&\"c\"");
  // "é" kept as Latin-1, a character beyond Latin-1 kept as 0x80, and a control byte.
  PutChainedString(config, 3, "caf\xE9 \x80 \x07!");
  PutBurst(config, 4, "</text>&amp;");
  SetKey(config, 0, 1, 1, {kActionString, 0, 20, 1});
  SetKey(config, 0, 1, 2, {kActionString, 0, 20, 3});
  SetKey(config, 0, 1, 3, {kActionBurst, 0, 0, 4});
  SetKey(config, 0, 1, 4, {0x99, 0xFF, 0xFF, 0xFF});
  SetKey(config, 0, 1, 5, {kActionMacro, 3, 0, 2});    // not read
  SetKey(config, 0, 1, 6, {kActionMacro, 4, 0, 2});    // read, never stored
  SetKey(config, 0, 1, 7, {kActionMacro, 200, 0, 2});  // no such macro
  CheatSheetExtras extras;
  extras.macro_scripts[4] = ListMacro(MacroBuffer{});
  extras.chords = ChordTable{};

  const std::string sheet = RenderCheatSheet(config, extras, {.profile = 0});
  EXPECT_TRUE(ParsesAsXml(sheet));
  EXPECT_NE(sheet.find(">a&lt;b&amp;&quot;c&quot;</text>"), std::string::npos);
  EXPECT_NE(sheet.find(">caf\xC3\xA9 \xEF\xBF\xBD \xEF\xBF\xBD!</text>"), std::string::npos);
  EXPECT_NE(sheet.find(">&lt;/text&gt;&amp;amp;</text>"), std::string::npos);
  EXPECT_EQ(sheet.find("a<b"), std::string::npos);
  EXPECT_NE(sheet.find("(not read from the keypad)"), std::string::npos);
  EXPECT_NE(sheet.find("(not stored on the keypad)"), std::string::npos);
  EXPECT_NE(sheet.find("(there is no such macro)"), std::string::npos);
  // An empty chord table adds no section.
  EXPECT_EQ(sheet.find(">Chords</text>"), std::string::npos);
}

TEST(CheatSheetTest, LongTextIsCutOnTheKeyAndWholeInTheAppendix) {
  Configuration config = BlankConfiguration(kBoard48Keys);
  const std::string text(200, 'z');
  PutChainedString(config, 1, text);
  SetKey(config, 0, 1, 1, {kActionString, 0x11, 8, 1});

  const std::string sheet = RenderCheatSheet(config, {}, {.profile = 0});
  EXPECT_NE(sheet.find(">" + std::string(12, 'z') + std::string(kEllipsis) + "</text>"),
            std::string::npos);
  EXPECT_NE(sheet.find(">Ctrl</text>"), std::string::npos);
  EXPECT_NE(sheet.find("Profile 1, row 1, column 1: string with Ctrl"), std::string::npos);
  // 128 characters to a line of the appendix.
  EXPECT_NE(sheet.find(">" + std::string(128, 'z') + "</text>"), std::string::npos);
  EXPECT_NE(sheet.find(">" + std::string(72, 'z') + "</text>"), std::string::npos);

  const std::string bare =
      RenderCheatSheet(config, {}, {.profile = 0, .appendix = Appendix::kLeftOut});
  EXPECT_EQ(bare.find("Appendix"), std::string::npos);
  EXPECT_EQ(bare.find(std::string(13, 'z')), std::string::npos);
  EXPECT_TRUE(ParsesAsXml(bare));
}

TEST(CheatSheetTest, AllProfilesEachOnTheirOwnBoard) {
  Configuration config = BlankConfiguration(kBoard48Keys);
  const std::uint8_t boards[] = {kBoard48Keys, kBoard46Keys, kBoard44Keys, kBoard43Keys};
  for (std::size_t p = 0; p < kProfileCount; ++p) {
    config.profile_image[p * kProfileSize + kSettingsOffset + kSettingBoardType] = boards[p];
    SetKey(config, static_cast<std::uint8_t>(p), 1, 1,
           {kActionMacro, static_cast<std::uint8_t>(p), 0, 2});
  }
  FillWorkingCopy(config, 0);

  const std::string sheet = RenderCheatSheet(config, {}, {});
  EXPECT_TRUE(ParsesAsXml(sheet));
  for (const char* heading :
       {"User Profile 1 \xC2\xB7 48 keys", "User Profile 2 \xC2\xB7 46 keys",
        "User Profile 3 \xC2\xB7 44 keys", "User Profile 4 \xC2\xB7 43 keys"}) {
    EXPECT_NE(sheet.find(heading), std::string::npos) << heading;
  }
  const std::size_t keys = Count(sheet, "<g id=\"p1-r") + Count(sheet, "<g id=\"p2-r") +
                          Count(sheet, "<g id=\"p3-r") + Count(sheet, "<g id=\"p4-r");
  EXPECT_EQ(keys, 48u + 46u + 44u + 43u);
  EXPECT_EQ(MacrosInUse(config, {}), (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(MacrosInUse(config, {.profile = 2}), (std::vector<int>{2}));
}

TEST(CheatSheetTest, KeysTheBoardDoesNotHaveAreNotInUse) {
  Configuration config = BlankConfiguration(kBoard46Keys);
  SetKey(config, 0, 6, 5, {kActionMacro, 9, 0, 2});    // absent on the 46-key board
  SetKey(config, 0, 6, 8, {kActionString, 0, 20, 7});  // absent as well
  SetKey(config, 0, 1, 1, {kActionMacro, 3, 0, 2});
  SetKey(config, 0, 1, 2, {kActionMacro, 3, 0, 2});
  SetKey(config, 0, 1, 3, {kActionString, 0, 20, 5});
  EXPECT_EQ(MacrosInUse(config, {.profile = 0}), std::vector<int>{3});
  EXPECT_EQ(StringsInUse(config, {.profile = 0}), std::vector<std::uint8_t>{5});
}

TEST(CheatSheetTest, StringTextsGivenByTheCallerComeFirst) {
  Configuration config = BlankConfiguration(kBoard48Keys);
  config.profile_image[kSettingsOffset + kSettingFirmware] = 0x01;  // the older string format
  FillWorkingCopy(config, 0);
  SetKey(config, 0, 1, 1, {kActionString, 0, 8, 2});
  CheatSheetExtras extras;
  extras.string_texts[2] = "a string kept in a slot on the keypad";

  const std::string sheet = RenderCheatSheet(config, extras, {.profile = 0});
  EXPECT_NE(sheet.find(">a string kept in a slot on the keypad</text>"), std::string::npos);
}

}  // namespace
}  // namespace qp40
