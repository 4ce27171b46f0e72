// qp40ctl against the virtual keypad: every keypad command on one image file, as a sequence of
// runs that each see the memory the run before left.
#include <string>
#include <vector>

#include "ctl_runner.h"
#include "link/report.h"
#include "model/configuration.h"
#include "sim/virtual_keypad.h"

namespace qp40::e2e {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

class KeypadCommandsTest : public CtlTest {};

TEST_F(KeypadCommandsTest, RestoringABackupUndoesAKeyChange) {
  const std::string original = Ok({Simulate(), "show", "--records"});
  ASSERT_EQ(Cells(original).size(), static_cast<std::size_t>(kGridRowCount));

  Ok({Simulate(), "backup", Path("before.bin").string()});
  // The factory keypad runs the newer firmware, so the backup carries the string unit table.
  EXPECT_EQ(ReadBytes(Path("before.bin")).size(), 10244u);

  Ok({Simulate(), "key", "set", "2", "3", "bf010203"});
  const std::string changed = Ok({Simulate(), "show", "--records"});
  EXPECT_EQ(Cells(changed)[1][2], "bf010203");
  EXPECT_NE(changed, original);

  Ok({Simulate(), "restore", "--verify", Path("before.bin").string()});
  EXPECT_EQ(Ok({Simulate(), "show", "--records"}), original);
}

TEST_F(KeypadCommandsTest, KeySetTakesRecordsAndKeyWords) {
  struct Case {
    std::string value;
    std::string record;
  };
  const std::vector<Case> cases = {
      {"a", "80040000"},      {"Enter", "80280000"},
      {"Shift", "8102e100"},  // a modifier key keeps its bit and its code
      {"Layer", "baea0000"},  // layer keys are stored as tools keys
      {"Reboot", "baf90000"}, {"A5B60708", "a5b60708"},
  };
  for (const Case& c : cases) {
    Ok({Simulate(), "key", "set", "6", "8", c.value});
    EXPECT_EQ(Cells(Ok({Simulate(), "show", "--records"}))[5][7], c.record) << c.value;
  }
}

TEST_F(KeypadCommandsTest, KeySetChangesOnlyTheChosenProfile) {
  const std::string profile1 = Ok({Simulate(), "show", "--records"});
  Ok({Simulate(), "key", "set", "--profile", "3", "1", "1", "8f000000"});

  EXPECT_EQ(Ok({Simulate(), "show", "--records"}), profile1);
  EXPECT_EQ(Cells(Ok({Simulate(), "show", "--profile", "3", "--records"}))[0][0], "8f000000");
  EXPECT_THAT(Ok({Simulate(), "show", "--profile", "3", "--tsv"}), ::testing::StartsWith("Null\t"));
}

TEST_F(KeypadCommandsTest, NumbersWithLeadingZerosAreDecimal) {
  // As `seq -w` writes them: "08" is not octal, and "010" is ten, not eight.
  Ok({Simulate(), "key", "set", "--profile", "02", "01", "08", "8f000000"});
  EXPECT_EQ(Cells(Ok({Simulate(), "show", "--profile", "002", "--records"}))[0][7], "8f000000");

  WriteText(Path("m.txt"), "delay 200\ndelay 300\n");
  Ok({Simulate(), "macro", "put", "010", Path("m.txt").string()});
  EXPECT_EQ(Ok({Simulate(), "macro", "get", "10"}), "delay    200  \r\ndelay    300  \r\n");
  EXPECT_EQ(Ok({Simulate(), "macro", "get", "8"}), "");
}

TEST_F(KeypadCommandsTest, OfflineShowOfABackupEqualsShowOnTheKeypad) {
  Ok({Simulate(), "key", "set", "--profile", "2", "4", "4", "b5030002"});
  Ok({Simulate(), "backup", Path("b.bin").string()});

  const std::vector<std::vector<std::string>> variants = {
      {"show"}, {"show", "--tsv"}, {"show", "--records", "--profile", "2"}};
  for (const auto& variant : variants) {
    std::vector<std::string> online = {Simulate()};
    online.insert(online.end(), variant.begin(), variant.end());
    std::vector<std::string> offline = variant;
    offline.push_back(Path("b.bin").string());
    EXPECT_EQ(Ok(offline), Ok(online)) << variant.back();
  }
}

TEST_F(KeypadCommandsTest, MacroPutThenGetListsTheScript) {
  // Written on Linux: plain line feeds.
  WriteText(Path("m.txt"), "press a  b  c  20\ndelay 200\njump 01 20\n");
  const std::string put = Ok({Simulate(), "macro", "put", "7", Path("m.txt").string()});
  EXPECT_EQ(Ok({Simulate(), "macro", "get", "7"}),
            "press    a   b   c   20  \r\ndelay    200  \r\njump    001    20  \r\n");

  // The macro is on the keypad's memory: its first block is 64 + 2 * 7.
  const std::vector<std::uint8_t> image = ReadBytes(Image());
  EXPECT_EQ(image[(kMacroBlockFirst + 14) * kBlockSize + 1], 0x80);  // "press"
}

TEST_F(KeypadCommandsTest, MacroGetOfAnEmptyMacroSaysSoAndPrintsNothing) {
  const CtlResult result = RunCtl({Simulate(), "macro", "get", "31"});
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(result.out, "");
  EXPECT_THAT(result.err, HasSubstr("Macro No.31 Not Ready !"));
}

TEST_F(KeypadCommandsTest, MacroThatDoesNotCompileIsNotStored) {
  WriteText(Path("bad.txt"), "press a 20\nPress b 20\n");
  Ok({Simulate(), "info"});
  const std::vector<std::uint8_t> before = ReadBytes(Image());
  const CtlResult result = RunCtl({Simulate(), "macro", "put", "3", Path("bad.txt").string()});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_THAT(result.err, HasSubstr("ERROR: Create Macro Script !"));
  EXPECT_THAT(result.err, HasSubstr("Press"));
  EXPECT_EQ(ReadBytes(Image()), before);
}

TEST_F(KeypadCommandsTest, RestoreWritesTheProfileBlockItsTypeWordSelects) {
  Ok({Simulate(), "info"});
  // A bare profile image for block 27: type word 0x0816100C, then 2048 bytes, with the default
  // key code map in profile 0 so the grid finds its keys.
  std::vector<std::uint8_t> file = {0x0C, 0x10, 0x16, 0x08};
  std::vector<std::uint8_t> image(kProfileImageSize, 0x00);
  for (std::size_t k = 0; k < kGridKeyCount; ++k) {
    image[kKeyCodeMapOffset + k] = kDefaultKeyCodeMap[k];
    image[kSlotSize * kDefaultKeyCodeMap[k]] = 0x8F;  // every key disabled
  }
  file.insert(file.end(), image.begin(), image.end());
  WriteBytes(Path("bank2.bin"), file);

  const std::vector<std::uint8_t> before = ReadBytes(Image());
  Ok({Simulate(), "restore", "--verify", Path("bank2.bin").string()});
  const std::vector<std::uint8_t> after = ReadBytes(Image());

  const auto block = [](const std::vector<std::uint8_t>& bytes, std::size_t number) {
    return std::vector<std::uint8_t>(bytes.begin() + number * kBlockSize,
                                     bytes.begin() + (number + 1) * kBlockSize);
  };
  EXPECT_EQ(block(after, kProfileBlockAlt27), image);
  EXPECT_EQ(block(after, kProfileBlock), block(before, kProfileBlock));
}

TEST_F(KeypadCommandsTest, FailedExchangesShowInTheLogAndTheExitStatus) {
  const CtlResult result =
      RunCtl({Simulate(), "--sim-fault=drop@5,drop@6,drop@7", "--log", "info"});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_THAT(result.err, HasSubstr("ERROR: READ Device "));
  EXPECT_THAT(result.err, HasSubstr(">> Tx ERROR: 3"));
  EXPECT_THAT(result.out, HasSubstr("Firmware version:"));

  // Without --log the lines stay quiet, the status still says it.
  const CtlResult quiet = RunCtl({Simulate(), "--sim-fault=status@9", "info"});
  EXPECT_EQ(quiet.exit_code, 0);  // one failed try, the second goes through
  EXPECT_THAT(quiet.err, Not(HasSubstr("Tx ERROR")));

  // Nor do they come with the compiler's lines of a stored macro script.
  WriteText(Path("m.txt"), "delay 200\ndelay 300\n");
  const CtlResult put = RunCtl({Simulate(), "--sim-fault=drop@2,drop@3,drop@4", "macro", "put", "1",
                                Path("m.txt").string()});
  EXPECT_EQ(put.exit_code, 1);
  EXPECT_THAT(put.err, Not(HasSubstr("Tx ERROR")));
  EXPECT_THAT(put.err, HasSubstr("1 exchange(s) with the keypad failed"));
}

TEST_F(KeypadCommandsTest, LogLinesKeepTheLogFormatOneLineEach) {
  const CtlResult result = RunCtl({Simulate(), "--log", "info"});
  EXPECT_EQ(result.exit_code, 0);
  // ">> Device READ Openned \n" carries a line feed before its time stamp; it still takes one line.
  EXPECT_THAT(result.err, HasSubstr(">> Device READ Openned       ("));
  EXPECT_THAT(result.err, HasSubstr("\n>> Firmware Version: vff      ("));
  EXPECT_THAT(result.err, Not(HasSubstr("\r")));
  std::size_t start = 0;
  while (start < result.err.size()) {
    const std::size_t end = result.err.find('\n', start);
    EXPECT_THAT(result.err.substr(start, end - start),
                ::testing::MatchesRegex(std::string(".*") + kLogStampPattern));
    start = end + 1;
  }
}

TEST_F(KeypadCommandsTest, NothingUnreadIsWrittenBack) {
  Ok({Simulate(), "info"});
  const std::vector<std::uint8_t> before = ReadBytes(Image());
  const std::string fault = "--sim-fault=drop@1,drop@2,drop@3";

  const CtlResult key = RunCtl({Simulate(), fault, "key", "set", "1", "1", "a"});
  EXPECT_EQ(key.exit_code, 1);
  EXPECT_THAT(key.err, HasSubstr("could not be read"));

  const CtlResult backup = RunCtl({Simulate(), fault, "backup", Path("b.bin").string()});
  EXPECT_EQ(backup.exit_code, 1);
  EXPECT_FALSE(std::filesystem::exists(Path("b.bin")));

  EXPECT_EQ(ReadBytes(Image()), before);
}

TEST_F(KeypadCommandsTest, VerifyReadsTheWrittenBlocksBack) {
  Ok({Simulate(), "backup", Path("b.bin").string()});
  // A load is 321 exchanges and a full save 325; the read-back starts with request 647.
  const std::string fault = "--sim-fault=status@700,status@701,status@702";
  const CtlResult full = RunCtl({Simulate(), fault, "restore", "--full", Path("b.bin").string()});
  EXPECT_EQ(full.exit_code, 1);
  EXPECT_THAT(full.err, HasSubstr("verify: block 28"));

  // The keypad holds the backup already: nothing is written, and --verify reads every block
  // back (from request 322 on).
  EXPECT_EQ(RunCtl({Simulate(), "--sim-fault=status@330,status@331,status@332", "restore",
                    Path("b.bin").string()})
                .exit_code,
            0);
  const CtlResult verified = RunCtl({Simulate(), "--sim-fault=status@330,status@331,status@332",
                                     "restore", "--verify", Path("b.bin").string()});
  EXPECT_EQ(verified.exit_code, 1);
  EXPECT_THAT(verified.err, HasSubstr("verify: block 28"));
}

TEST_F(KeypadCommandsTest, FactoryResetNeedsYesAndRestoresTheFactoryImage) {
  const std::string factory = Ok({Simulate(), "show", "--records"});
  Ok({Simulate(), "key", "set", "1", "1", "8f000000"});

  const CtlResult refused = RunCtl({Simulate(), "factory-reset"});
  EXPECT_EQ(refused.exit_code, 2);
  EXPECT_THAT(refused.err, HasSubstr("DELETES all user data"));
  EXPECT_NE(Ok({Simulate(), "show", "--records"}), factory);

  const CtlResult reset = RunCtl({Simulate(), "factory-reset", "--yes"});
  EXPECT_EQ(reset.exit_code, 0);
  EXPECT_THAT(reset.err, HasSubstr("End configuration, please reboot keyboard."));
  EXPECT_EQ(Ok({Simulate(), "show", "--records"}), factory);
}

TEST_F(KeypadCommandsTest, RebootAndInfo) {
  const CtlResult reboot = RunCtl({Simulate(), "--log", "reboot"});
  EXPECT_EQ(reboot.exit_code, 0);
  EXPECT_THAT(reboot.err, HasSubstr("End configuration, please reboot keyboard."));

  const std::string info = Ok({Simulate(), "info"});
  EXPECT_THAT(info, HasSubstr("Firmware version: 0xff"));
  EXPECT_THAT(info, HasSubstr("Board type:       48 keys"));
  EXPECT_THAT(info, HasSubstr("Path type:        USB"));
}

TEST_F(KeypadCommandsTest, ImageThatIsNoKeypadMemoryIsLeftAlone) {
  WriteText(Image(), "not an image");
  const CtlResult result = RunCtl({Simulate(), "info"});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_THAT(result.err, HasSubstr("not a keypad memory image"));
  EXPECT_EQ(ReadBytes(Image()).size(), 12u);
}

TEST_F(KeypadCommandsTest, WithoutAKeypadTheStatusIsThreeAndSaysWhy) {
  const CtlResult result = RunCtl({"info"});
  EXPECT_EQ(result.exit_code, 3);
  EXPECT_THAT(result.err, HasSubstr("no QP40 keypad found"));
}

}  // namespace
}  // namespace qp40::e2e
