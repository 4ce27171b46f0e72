// qp40ctl key set with the key type options, against the virtual keypad: the records the key
// dialog's OK computes, the texts it stores and frees, and what it refuses.
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "ctl_runner.h"
#include "link/report.h"
#include "macros/burst_store.h"
#include "macros/string_store.h"
#include "model/configuration.h"

namespace qp40::e2e {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

class KeyTypesTest : public CtlTest {
 protected:
  // The record of key (row, column), both from 1, as `show --records` prints it.
  std::string RecordOf(int row, int column) {
    return Cells(Ok({Simulate(), "show", "--records"}))[row - 1][column - 1];
  }

  // The keypad's burst table entry or string unit `index` in the image, 16 bytes.
  std::vector<std::uint8_t> TableEntry(std::size_t first_block, std::size_t index) {
    const std::vector<std::uint8_t> image = ReadBytes(Image());
    const auto at = image.begin() +
                    static_cast<std::ptrdiff_t>(first_block * kBlockSize + index * kTextEntrySize);
    return {at, at + kTextEntrySize};
  }

  // How many string units and burst entries the image marks as taken.
  int StringUnitsInUse() { return EntriesInUse(kStringBlockFirst, kUnitMark, kUnitInUse, true); }
  int BurstEntriesInUse() { return EntriesInUse(kBurstBlockFirst, 0, kFreeBurstEntry, false); }

  int EntriesInUse(std::size_t first_block, std::size_t mark, std::uint8_t value, bool in_use) {
    const std::vector<std::uint8_t> image = ReadBytes(Image());
    int count = 0;
    for (std::size_t index = 0; index < kTextEntryCount; ++index) {
      const std::uint8_t byte = image[first_block * kBlockSize + index * kTextEntrySize + mark];
      count += (byte == value) == in_use ? 1 : 0;
    }
    return count;
  }

  // "String texts in use" and what follows it in `dump`, from a fresh backup.
  std::string DumpedStrings() {
    Ok({Simulate(), "backup", Path("b.bin").string()});
    const std::string dump = Ok({"dump", Path("b.bin").string()});
    return dump.substr(dump.find("String texts in use"));
  }
};

int RecordByte(const std::string& record, std::size_t index) {
  return std::stoi(record.substr(2 * index, 2), nullptr, 16);
}

TEST_F(KeyTypesTest, EachTypeOptionStoresTheRecordOfItsType) {
  struct Case {
    std::vector<std::string> options;
    std::string record;
  };
  // One key through all of them: each case also frees the text of the case before.
  const std::vector<Case> cases = {
      {{"--burst", "DIMLINEAR", "--mods", "Ctrl,shift"}, "b3030000"},  // entry 0
      {{"--string", "Hi", "--mods", "Alt"}, "b4043201"},               // pace 100 / 2, unit 1
      {{"--shortcut", "Ctrl+Alt+Del"}, "84054c00"},
      {{"--shortcut", "shift+WIN+F4+a"}, "840a3d04"},
      {{"--shortcut", "Ctrl+Num+"}, "84015700"},
      {{"--shortcut", "Alt++"}, "84042e00"},
      {{"--media", "Volume+"}, "a2060000"},
      {{"--media", "27"}, "a21b0000"},  // beyond the name table, by code
      {{"--mouse", "M_Left", "--x", "5", "--y", "-5"}, "a30105fb"},
      {{"--mouse", "M_Wheel", "--y=-1"}, "a3ff00ff"},
      {{"--mouse", "Move", "--x", "-127"}, "a3008100"},
      {{"--macro", "5"}, "b5050002"},  // stops on key release unless told otherwise
      {{"--macro", "31", "--stop-mode", "second"}, "b51f0001"},
      {{"--tool", "236"}, "baec0000"},
      {{"--disable"}, "8f000000"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {Simulate(), "key", "set", "6", "8"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    Ok(args);
    EXPECT_EQ(RecordOf(6, 8), c.record) << c.options.front() << " " << c.options.back();
  }
  // The burst text was freed when the key became a string key, the string when it became a
  // shortcut.
  EXPECT_EQ(BurstEntriesInUse(), 0);
  EXPECT_EQ(StringUnitsInUse(), 0);
}

// VALUE takes key expressions besides records and key words; a text key's text is stored and
// the text the key held before is freed.
TEST_F(KeyTypesTest, ValueTakesKeyExpressions) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"Ctrl+burst:\"DIM\"", "b3010000"},
      {"Alt+string:\"Hi\"", "b4043201"},
      {"Ctrl+Alt+Del", "84054c00"},
      {"media:Volume+", "a2060000"},
      {"mouse:Wheel(-3)", "a3ff00fd"},
      {"macro:5/auto", "b5050000"},
      {"tool:Profile", "baec0000"},
      {"profile:2", "ba110000"},
      {"record:80290000", "80290000"},
      {"80040000", "80040000"},
      {"Enter", "80280000"},
      {"disabled", "8f000000"},
  };
  for (const auto& [value, record] : cases) {
    Ok({Simulate(), "key", "set", "6", "7", value});
    EXPECT_EQ(RecordOf(6, 7), record) << value;
  }
  EXPECT_EQ(BurstEntriesInUse(), 0);
  EXPECT_EQ(StringUnitsInUse(), 0);
}

TEST_F(KeyTypesTest, StringKeyShowsItsTextAndAReplacedTextIsFreed) {
  Ok({Simulate(), "key", "set", "1", "2", "--string", "Hello^e"});
  EXPECT_EQ(Cells(Ok({Simulate(), "show", "--tsv"}))[0][1], "Hello^e");
  EXPECT_THAT(Ok({Simulate(), "show"}), HasSubstr("Hello^e"));
  EXPECT_THAT(DumpedStrings(), HasSubstr("\"Hello^e\""));

  Ok({Simulate(), "key", "set", "1", "2", "--string", "Bye"});
  const std::string strings = DumpedStrings();
  EXPECT_THAT(strings, HasSubstr("\"Bye\""));
  EXPECT_THAT(strings, Not(HasSubstr("Hello^e")));
  EXPECT_EQ(std::count(strings.begin(), strings.end(), '\n'), 2) << strings;  // heading, "Bye"
  EXPECT_EQ(StringUnitsInUse(), 1);  // "Hello^e" gave its unit back

  // A key type without a text frees it too.
  Ok({Simulate(), "key", "set", "1", "2", "--disable"});
  EXPECT_THAT(DumpedStrings(), HasSubstr("(none)"));
  EXPECT_EQ(StringUnitsInUse(), 0);
}

TEST_F(KeyTypesTest, TextsReachTheTablesAsSingleBytesAndTheLostCharactersAreNamed) {
  const std::string e_acute = "\xC3\xA9";   // U+00E9, Latin-1 0xE9
  const std::string euro = "\xE2\x82\xAC";  // U+20AC, no Latin-1 byte
  const CtlResult string =
      RunCtl({Simulate(), "key", "set", "1", "1", "--string", "a" + e_acute + "b" + euro});
  EXPECT_EQ(string.exit_code, 0);
  EXPECT_THAT(string.err, HasSubstr("replaced: " + e_acute + " " + euro));
  const std::vector<std::uint8_t> unit =
      TableEntry(kStringBlockFirst, static_cast<std::size_t>(RecordByte(RecordOf(1, 1), 3)));
  // Four characters, each one byte: never the two or three bytes of their UTF-8 form.
  EXPECT_EQ(unit[1], 4);
  EXPECT_EQ(std::string(unit.begin() + 2, unit.begin() + 7), std::string("a?b?\0", 5));

  const CtlResult burst =
      RunCtl({Simulate(), "key", "set", "1", "2", "--burst", "a" + e_acute + "b"});
  EXPECT_EQ(burst.exit_code, 0);
  EXPECT_THAT(burst.err, HasSubstr("empty places: " + e_acute));
  const std::vector<std::uint8_t> entry =
      TableEntry(kBurstBlockFirst, static_cast<std::size_t>(RecordByte(RecordOf(1, 2), 3)));
  EXPECT_EQ(std::vector<std::uint8_t>(entry.begin(), entry.begin() + 4),
            (std::vector<std::uint8_t>{'a', 0x00, 'b', 0x00}));
}

TEST_F(KeyTypesTest, RefusedTextsLeaveTheKeypadAsItWas) {
  Ok({Simulate(), "info"});
  // Every burst entry in use.
  std::vector<std::uint8_t> full = ReadBytes(Image());
  for (std::size_t entry = 0; entry < kTextEntryCount; ++entry) {
    full[kBurstBlockFirst * kBlockSize + entry * kTextEntrySize] = 'x';
  }
  WriteBytes(Image(), full);

  struct Case {
    std::vector<std::string> options;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{"--burst", "ABC"}, "Space of burst text is full"},
      {{"--string", ""}, "an empty string is not stored"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {Simulate(), "key", "set", "1", "1"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const CtlResult result = RunCtl(args);
    EXPECT_EQ(result.exit_code, 1) << c.options.front();
    EXPECT_THAT(result.err, HasSubstr(c.message));
    EXPECT_EQ(ReadBytes(Image()), full) << c.options.front();
  }
}

}  // namespace
}  // namespace qp40::e2e
