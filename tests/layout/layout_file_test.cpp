#include "layout/layout_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "editing/key_edits.h"
#include "macros/burst_store.h"
#include "macros/script_compiler.h"
#include "macros/string_store.h"
#include "model/profile_ops.h"

namespace qp40 {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

std::string Lines(const std::vector<std::string>& problems) {
  std::string text;
  for (const std::string& problem : problems) text += problem + "\n";
  return text;
}

// A configuration with a key of every type in profile 1, strings in the given format, and a
// few keys in the other profiles.
Configuration ConfigurationOfEveryType(std::uint8_t firmware) {
  Configuration config;
  for (std::uint8_t profile = 0; profile < kProfileCount; ++profile) {
    const auto settings = kProfileSize * profile + kSettingsOffset;
    config.profile_image[settings + kSettingBoardType] = kBoardType48Keys;
    config.profile_image[settings + kSettingTyping] = FeatureOnValue(BoardFeature::kTyping);
    config.profile_image[settings + kSettingFirmware] = firmware;
    config.profile_image[settings + kSettingsSize - 1] = 0x5A;  // a byte the tool carries along
  }
  // Burst entry 3 and string unit 7 (a second unit when the chained string runs on).
  WriteBurstText(config.burst_table, 3, "abc\"+:\\");
  const auto unit = [&](std::size_t index) {
    return std::span(config.string_unit_table).subspan(index * kTextEntrySize, kTextEntrySize);
  };
  const std::string text = firmware == kFirmwareNewStrings ? "Hello, world+1" : "Hi:there";
  unit(7)[kUnitMark] = kUnitInUse;
  unit(7)[kUnitLength] = static_cast<std::uint8_t>(text.size());
  for (std::size_t i = 0; i < text.size() && i < kCharsPerUnit; ++i) {
    unit(7)[kUnitText + i] = static_cast<std::uint8_t>(text[i]);
  }
  if (text.size() > kCharsPerUnit) {
    unit(7)[kUnitNext] = 8;
    unit(8)[kUnitMark] = kUnitInUse;
    unit(8)[kUnitLength] = static_cast<std::uint8_t>(text.size() - kCharsPerUnit);
    for (std::size_t i = kCharsPerUnit; i < text.size(); ++i) {
      unit(8)[kUnitText + i - kCharsPerUnit] = static_cast<std::uint8_t>(text[i]);
    }
  }
  const std::vector<KeyActionRecord> records = {
      KeyboardEdit(0x28).record,
      KeyboardEdit(0xE1).record,
      MediaEdit(6).record,
      MouseEdit(0x01, 0, 0).record,
      MouseEdit(0x00, 10, -10).record,
      MouseEdit(0xFF, 0, -3).record,
      ShortcutEdit(0x03, 0x06, 0).record,
      {kActionBurst, 0x01, 0, 3},
      {kActionString, 0x04, PaceValue(text.size()), 7},
      MacroEdit(5, 0).record,
      ToolEdit(0xEC).record,
      ToolEdit(17).record,
      DisabledEdit().record,
      {kActionReserved9, 1, 2, 3},
      {kActionKeyAlt1, 0x04, 0, 0},
      {0x00, 0x00, 0x00, 0x00},
  };
  for (std::size_t key = 0; key < records.size(); ++key) {
    WriteSlot(config.profile_image, 0, config.key_code_map[key], records[key]);
    WriteSlot(config.profile_image, 3, config.key_code_map[kGridKeyCount - 1 - key], records[key]);
  }
  std::copy(config.key_code_map.begin(), config.key_code_map.end(),
            config.profile_image.begin() + kKeyCodeMapOffset);
  FillWorkingCopy(config, 0);
  return config;
}

std::map<int, MacroBuffer> Macros() {
  std::map<int, MacroBuffer> macros;
  macros[5] = CompileScript("press Ctrl\r\nclick c\r\ndelay 100\r\nrelease Ctrl\r\n", 5).buffer;
  MacroBuffer garbage = CompileScript("click a\r\n", 9).buffer;
  garbage[kRecordParameters + 5] = 0xEE;  // a byte no listing shows
  macros[9] = garbage;
  macros[12] = MacroBuffer{};  // not ready: left out
  return macros;
}

ChordTable Chords() {
  ChordTable chords{};
  chords[0] = {0x16, 0x07, 0x00, 0x28, 0, 0, 0, 0};
  chords[4] = {0x2C, 0x04, 0x03, 0x1A, 0x07, 0x06, 0, 0};
  return chords;
}

TEST(LayoutFileTest, ExportImportExportGivesTheSameBytes) {
  for (const std::uint8_t firmware : {kFirmwareNewStrings, std::uint8_t{0x21}}) {
    const Configuration config = ConfigurationOfEveryType(firmware);
    const Layout layout = MakeLayout(config, TableTexts(config), Macros(), Chords(), "QP40 V1.0");
    const std::string text = LayoutText(layout);
    const LayoutParse parsed = ParseLayoutText(text);
    ASSERT_TRUE(parsed.layout) << Lines(parsed.problems);
    EXPECT_EQ(*parsed.layout, layout);
    EXPECT_EQ(LayoutText(*parsed.layout), text);
    // One key row per line, canonical layout of the rest.
    EXPECT_THAT(text, HasSubstr("        [\"Enter\", \"Shift\", \"media:Volume+\", \"mouse:Left\", "
                                "\"mouse:Move(10,-10)\", \"mouse:Wheel(-3)\", \"Ctrl+Shift+c\", "
                                "\"Ctrl+burst:\\\"abc\\\\\\\"+:\\\\\\\\\\\"\"],\n"));
    EXPECT_THAT(text, HasSubstr("Alt+string:"));
    EXPECT_THAT(text, HasSubstr("\"macro:5/auto\", \"tool:Profile\", \"profile:2\", \"disabled\", "
                                "\"reserved9:1,2,3\", \"record:89040000\", \"record:00000000\""));
    EXPECT_THAT(text, HasSubstr("    \"5\": [\n      \"press    20  \",\n"));
    EXPECT_THAT(text, HasSubstr("    \"9\": \"hex:"));
    EXPECT_THAT(text, Not(HasSubstr("\"12\"")));
    EXPECT_THAT(text, HasSubstr("  \"chords\": {\n    \"1\": \"1607002800000000\",\n    \"5\": "));
    EXPECT_EQ(text.back(), '\n');
    EXPECT_EQ(text.find('\r'), std::string::npos);
    EXPECT_EQ(text.find('\t'), std::string::npos);
  }
}

// Each problem is found with its place, all of them at once, and nothing is given back.
TEST(LayoutFileTest, ImportListsEveryProblemWithItsPlace) {
  const Configuration config = ConfigurationOfEveryType(kFirmwareNewStrings);
  std::string text = LayoutText(MakeLayout(config, TableTexts(config), Macros(), Chords(), ""));
  const auto replace = [&text](const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
  };
  replace("\"Enter\"", "\"Entr\"");
  replace("\"board\": \"", "\"board\": \"x");
  replace("\"press    20  \"", "\"presss Ctrl\"");
  replace("\"disabled\", ", "");
  replace("\"Ctrl+Shift+c\"", "\"burst:\\\"0123456789abcdefg\\\"\"");
  replace("\"Shift\"", "\"string:\\\"" + std::string(253, 'x') + "\\\"\"");
  const LayoutParse parsed = ParseLayoutText(text);
  EXPECT_FALSE(parsed.layout);
  const std::string all = Lines(parsed.problems);
  EXPECT_EQ(
      all,
      "profile 1, settings: 'x48 keys' is no board type (\"48 keys\", \"46 keys\", \"44 keys\", "
      "\"43 keys\")\n"
      "profile 1, row 1, column 1: 'Entr' is no key name; did you mean Enter, End, Attr?\n"
      "profile 1, row 1, column 2: the string has 253 characters; its table keeps 252\n"
      "profile 1, row 1, column 7: the burst text has 17 characters; its table keeps 15\n"
      "profile 1, row 2: holds 7 keys; a row holds 8\n"
      "macro 5, line 1: Error1: can't identify the word, presss \n");
}

TEST(LayoutFileTest, RefusesWhatIsNoLayout) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"{\n  \"format\": 1,\n  \"profiles\": [,]\n}\n", "line 3, column 16: not JSON"},
      {"", "line 1, column 1: not JSON"},
      {"[]", "one JSON object"},
      {"{\"format\": 2}", "\"format\": 1, not 2"},
      {"{\"profiles\": []}", "not none"},
      {"{\"format\": 1, \"profiles\": [1, 2]}", "needs the 4 profiles"},
      {"{\"format\": 1, \"profiles\": [{}, {}, {}, {}], \"macros\": {\"32\": []}}",
       "macro 32: is no macro number 0-31"},
  };
  for (const auto& [text, message] : cases) {
    const LayoutParse parsed = ParseLayoutText(text);
    EXPECT_FALSE(parsed.layout) << text;
    EXPECT_THAT(Lines(parsed.problems), HasSubstr(message)) << text;
  }
}

TEST(LayoutFileTest, RefusesFoldersDevicesAndHugeFilesWithoutReadingThem) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / "qp40_layout_file_test";
  std::filesystem::create_directories(folder);
  EXPECT_THAT(ReadLayoutFile(folder).problems,
              ::testing::ElementsAre("a folder is no layout file"));
  const std::filesystem::path huge = folder / "huge.qp40.json";
  {
    std::ofstream out(huge, std::ios::binary);
    out.seekp(static_cast<std::streamoff>(300) * 1024 * 1024);
    out.put('\n');
  }
  EXPECT_THAT(Lines(ReadLayoutFile(huge).problems), HasSubstr("larger than"));
#ifndef _WIN32
  EXPECT_THAT(ReadLayoutFile("/dev/zero").problems,
              ::testing::ElementsAre("no layout file to read"));
#endif
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace qp40
