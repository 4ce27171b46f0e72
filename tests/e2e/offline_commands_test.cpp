// qp40ctl on files alone: backups, macro scripts and buffers, chord files. None of these runs
// touches a keypad.
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "ctl_runner.h"

namespace qp40::e2e {
namespace {

using ::testing::HasSubstr;

class OfflineCommandsTest : public CtlTest {
 protected:
  // A full backup of the factory keypad, with a burst key (entry 3) and a string key (string 5)
  // on it.
  std::string FactoryBackup() {
    Ok({Simulate(), "key", "set", "1", "1", "b3000003"});
    Ok({Simulate(), "key", "set", "1", "2", "b4001405"});
    Ok({Simulate(), "backup", Path("full.bin").string()});
    return Path("full.bin").string();
  }
};

TEST_F(OfflineCommandsTest, BrokenBackupsAreRefusedByEveryCommandThatReadsThem) {
  const std::vector<std::uint8_t> full = ReadBytes(FactoryBackup());
  const std::vector<std::uint8_t> before = ReadBytes(Image());

  std::vector<std::uint8_t> truncated(full.begin(), full.begin() + 5000);
  WriteBytes(Path("truncated.bin"), truncated);
  std::vector<std::uint8_t> wrong_type = full;
  wrong_type[0] = 0x08;  // 0x08161008
  WriteBytes(Path("wrong.bin"), wrong_type);

  struct Case {
    std::string file;
    std::string message;
  };
  const std::vector<Case> cases = {
      {Path("missing.bin").string(), "ERROR:Can't open file"},
      {"", "ERROR:Can't open file"},  // an unset shell variable, say
      {Path("truncated.bin").string(), "Error: File Too Short !"},
      {Path("wrong.bin").string(), "Error: Wrong File Type !"},
  };
  const std::vector<std::vector<std::string>> commands = {
      {"show"}, {"show", "--records"}, {"dump"}, {"dump", "--json"}, {Simulate(), "restore"}};
  for (const Case& c : cases) {
    for (std::vector<std::string> command : commands) {
      command.push_back(c.file);
      const CtlResult result = RunCtl(command);
      EXPECT_EQ(result.exit_code, 1) << command.front() << " " << c.file;
      EXPECT_THAT(result.err, HasSubstr(c.message)) << command.front() << " " << c.file;
      EXPECT_EQ(result.out, "") << command.front() << " " << c.file;
    }
  }
  // The refused restores never wrote to the keypad.
  EXPECT_EQ(ReadBytes(Image()), before);
}

TEST_F(OfflineCommandsTest, DumpShowsEveryKeyOfEveryProfileAndTheTextsInUse) {
  const std::string backup = FactoryBackup();
  // Burst entry 3 lies right after the type word and the 2048-byte image, string unit 5 after
  // the 4096-byte burst table (the newer firmware's chained layout: mark, length, characters).
  std::vector<std::uint8_t> bytes = ReadBytes(backup);
  ASSERT_EQ(bytes.size(), 10244u);
  const auto entry = [&](std::size_t table_offset, std::size_t index) {
    return bytes.begin() + static_cast<std::ptrdiff_t>(4 + table_offset + index * 16);
  };
  const std::string burst = "DIMLINEAR";
  std::fill(entry(2048, 3), entry(2048, 4), 0);
  std::copy(burst.begin(), burst.end(), entry(2048, 3));
  const std::vector<std::uint8_t> unit = {0xAA, 5, 'h', 'e', 'l', 'l', 'o'};
  std::fill(entry(2048 + 4096, 5), entry(2048 + 4096, 6), 0);
  std::copy(unit.begin(), unit.end(), entry(2048 + 4096, 5));
  WriteBytes(backup, bytes);

  const nlohmann::json dump = nlohmann::json::parse(Ok({"dump", "--json", backup}));
  ASSERT_EQ(dump["profiles"].size(), 4u);
  for (const auto& profile : dump["profiles"]) EXPECT_EQ(profile["keys"].size(), 48u);

  const auto& key11 = dump["profiles"][0]["keys"][0];
  EXPECT_EQ(key11["record"], "b3000003");
  EXPECT_EQ(key11["type_name"], "4 Hotkey & Burst");
  EXPECT_EQ(key11["label"], "DIMLINEAR");
  EXPECT_EQ(dump["profiles"][1]["keys"][0]["label"], "Esc");
  EXPECT_EQ(dump["profiles"][0]["settings"]["firmware_version"], 255);
  EXPECT_EQ(dump["profiles"][0]["keys"][1]["label"], "hello");
  ASSERT_EQ(dump["bursts"].size(), 1u);
  EXPECT_EQ(dump["bursts"][0]["index"], 3);
  EXPECT_EQ(dump["bursts"][0]["text"], "DIMLINEAR");
  ASSERT_EQ(dump["strings"].size(), 1u);
  EXPECT_EQ(dump["strings"][0]["number"], 5);
  EXPECT_EQ(dump["strings"][0]["text"], "hello");

  const std::string plain = Ok({"dump", backup});
  EXPECT_THAT(plain, HasSubstr("User Profile 4"));
  EXPECT_THAT(plain, HasSubstr("  11  b3000003 4 Hotkey & Burst"));
  EXPECT_THAT(plain, HasSubstr("  3    \"DIMLINEAR\""));
  EXPECT_THAT(plain, HasSubstr("  5    \"hello\""));
}

TEST_F(OfflineCommandsTest, LabelsNeverBreakALineOrAColumn) {
  const std::string backup = FactoryBackup();
  // Key 11 shows burst entry 3: a tab, a line feed, NEL, CSI and ESC among its characters.
  std::vector<std::uint8_t> bytes = ReadBytes(backup);
  const std::string text =
      "A\tB\nC\x85"
      "D\x9b"
      "E\x1b";
  const auto entry = bytes.begin() + 4 + 2048 + 3 * 16;
  std::fill(entry, entry + 16, 0);
  std::copy(text.begin(), text.end(), entry);
  WriteBytes(backup, bytes);

  const std::string tsv = Ok({"show", "--tsv", backup});
  // Labels are cut to 9 characters; key 12 shows an empty string.
  EXPECT_THAT(tsv, ::testing::StartsWith("A?B?C?D?E\t\t2\t"));
  EXPECT_EQ(std::count(tsv.begin(), tsv.end(), '\n'), 6);
  EXPECT_EQ(std::count(tsv.begin(), tsv.end(), '\t'), 6 * 7);
  EXPECT_THAT(Ok({"show", backup}), HasSubstr("\n1   A?B?C?D?E           2 "));
}

TEST_F(OfflineCommandsTest, OneProfileBackupShowsItsOwnKeys) {
  // Type word 0x0816100B, then the 256-byte working copy: 48 records, then the settings.
  std::vector<std::uint8_t> file = {0x0B, 0x10, 0x16, 0x08};
  for (int k = 0; k < 48; ++k) {
    const std::vector<std::uint8_t> record = {0x80, static_cast<std::uint8_t>(0x04 + k % 26), 0, 0};
    file.insert(file.end(), record.begin(), record.end());
  }
  file.resize(4 + 256, 0x00);
  WriteBytes(Path("one.bin"), file);

  const std::string records = Ok({"show", "--records", Path("one.bin").string()});
  EXPECT_THAT(records, ::testing::StartsWith("80040000\t80050000\t"));
  EXPECT_THAT(Ok({"show", "--tsv", Path("one.bin").string()}), ::testing::StartsWith("a\tb\t"));

  const nlohmann::json dump =
      nlohmann::json::parse(Ok({"dump", "--json", Path("one.bin").string()}));
  ASSERT_EQ(dump["profiles"].size(), 1u);
  EXPECT_EQ(dump["profiles"][0]["keys"][47]["label"], "v");

  const CtlResult other = RunCtl({"show", "--profile", "2", Path("one.bin").string()});
  EXPECT_EQ(other.exit_code, 1);
  EXPECT_THAT(other.err, HasSubstr("one profile only"));
}

TEST_F(OfflineCommandsTest, OutputThatCannotBeWrittenIsAFailure) {
#ifdef _WIN32
  GTEST_SKIP() << "no device that refuses every write, as /dev/full does";
#endif
  const std::string backup = FactoryBackup();
  for (const std::vector<std::string>& command :
       {std::vector<std::string>{"show", backup}, {"dump", "--json", backup}}) {
    const CtlResult result = RunCtl(command, "/dev/full");
    EXPECT_EQ(result.exit_code, 1) << command.front();
    EXPECT_THAT(result.err, HasSubstr("output could not be written")) << command.front();
  }
}

TEST_F(OfflineCommandsTest, CompiledBufferListsBackAsTheScript) {
  WriteText(Path("m.txt"), "press M_Left -20 -30 100\r\nstring 04 30\r\n");
  Ok({"macro", "compile", Path("m.txt").string(), "-o", Path("m.buf").string(), "--number", "5"});
  const std::vector<std::uint8_t> buffer = ReadBytes(Path("m.buf"));
  ASSERT_EQ(buffer.size(), 4096u);
  EXPECT_EQ(buffer[1], 0x80);  // press
  EXPECT_EQ(buffer[15], 5);    // macro number of a record that links on
  EXPECT_EQ(Ok({"macro", "list", Path("m.buf").string()}),
            "press    M_Left   236   226   100  \r\nstring    4    30  \r\n");
}

TEST_F(OfflineCommandsTest, MacroFilesThatCannotBeUsed) {
  WriteText(Path("bad.txt"), "click a 20\nklick b 20\n");
  const CtlResult bad =
      RunCtl({"macro", "compile", Path("bad.txt").string(), "-o", Path("bad.buf").string()});
  EXPECT_EQ(bad.exit_code, 1);
  EXPECT_THAT(bad.err, HasSubstr("Error1: can't identify the word, klick"));
  EXPECT_FALSE(std::filesystem::exists(Path("bad.buf")));

  WriteText(Path("big.txt"), std::string(10240, 'x'));
  const CtlResult big =
      RunCtl({"macro", "compile", Path("big.txt").string(), "-o", Path("big.buf").string()});
  EXPECT_EQ(big.exit_code, 1);
  EXPECT_THAT(big.err, HasSubstr("ERROR: File is over size of 10Kbyte"));

  // A script that cannot be read is no empty script: nothing is compiled or written.
  std::filesystem::create_directory(Path("folder.txt"));
  for (const char* script : {"missing.txt", "folder.txt"}) {
    const CtlResult unread =
        RunCtl({"macro", "compile", Path(script).string(), "-o", Path("none.buf").string()});
    EXPECT_EQ(unread.exit_code, 1) << script;
    EXPECT_THAT(unread.err, HasSubstr("cannot be opened")) << script;
    EXPECT_FALSE(std::filesystem::exists(Path("none.buf"))) << script;
  }

  WriteText(Path("short.buf"), "not 4096 bytes");
  EXPECT_EQ(RunCtl({"macro", "list", Path("short.buf").string()}).exit_code, 1);
  EXPECT_EQ(RunCtl({"macro", "list", Path("missing.buf").string()}).exit_code, 1);

  WriteBytes(Path("empty.buf"), std::vector<std::uint8_t>(4096, 0));
  const CtlResult empty = RunCtl({"macro", "list", Path("empty.buf").string()});
  EXPECT_EQ(empty.exit_code, 0);
  EXPECT_EQ(empty.out, "");
  EXPECT_THAT(empty.err, HasSubstr("not ready"));
}

TEST_F(OfflineCommandsTest, CompilerProblemsFollowTheirMessageBoxAsTheLogWritesThem) {
  // An unknown word stops the compile; the jumps before it are repaired all the same.
  WriteText(Path("bad.txt"), "jump 1 20\njump 1 20\nbogus a 20\n");
  const CtlResult bad =
      RunCtl({"macro", "compile", Path("bad.txt").string(), "-o", Path("bad.buf").string()});
  EXPECT_EQ(bad.exit_code, 1);
  const std::string stamp = std::string(kLogStampPattern) + "\n";
  const std::string jump =
      ">> Error: Macro command = jump, first parameter wrong!  and replaced by new number, 01\\.";
  EXPECT_THAT(bad.err, ::testing::MatchesRegex("ERROR: Create Macro Script !\n"
                                               "Error1: can't identify the word, bogus " +
                                               stamp + jump + stamp + jump + stamp +
                                               "qp40ctl: .*bad\\.buf: not written\n"));
}

TEST_F(OfflineCommandsTest, ChordListOfAChordFile) {
  std::string file = "0x92, 0x02, 0x00, 0x01, \r\n";
  file += " 0x16, 0x07, 0x00, 0x28, 0x00, 0x00, 0x00, 0x00, \r\n";
  for (int i = 1; i < 32; ++i) {
    file += " 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, \r\n";
  }
  file += " ";
  WriteText(Path("chords.txt"), file);
  const std::string list = Ok({"chord", "list", Path("chords.txt").string()});
  EXPECT_THAT(list, ::testing::StartsWith("No. 1 :  s d\xE2\x86\x92  + Enter\r\nNo. 2 :  \r\n"));

  WriteText(Path("other.txt"), "0x93, 0x02, 0x00, 0x01, \r\n");
  const CtlResult unknown = RunCtl({"chord", "list", Path("other.txt").string()});
  EXPECT_EQ(unknown.exit_code, 1);
  EXPECT_THAT(unknown.err, HasSubstr("unknow file"));
  EXPECT_EQ(RunCtl({"chord", "list", Path("missing.txt").string()}).exit_code, 1);
}

}  // namespace
}  // namespace qp40::e2e
