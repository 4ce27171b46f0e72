// qp40ctl export against the virtual keypad and backup files.
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ctl_runner.h"

namespace qp40::e2e {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class LayoutCommandsTest : public CtlTest {
 protected:
  // A string key, a burst key, macro 5 and two chords.
  void SetUpKeypad() {
    Ok({Simulate(), "key", "set", "1", "2", "string:\"Hello\""});
    Ok({Simulate(), "key", "set", "1", "3", "Ctrl+burst:\"abc\""});
    WriteText(Path("m.txt"), "press a\r\nrelease a\r\n");
    Ok({Simulate(), "macro", "put", "5", Path("m.txt").string()});
    Ok({"chord", "new", Path("c.txt").string()});
    Ok({"chord", "set", Path("c.txt").string(), "1", "--keys", "s", "d", "--out", "Enter"});
    Ok({"chord", "set", Path("c.txt").string(), "2", "--keys", "q", "w", "--out", "a"});
  }
};

TEST_F(LayoutCommandsTest, ExportWritesTheWholeKeypadTheSameWayEachTime) {
  SetUpKeypad();
  Ok({Simulate(), "export", Path("a.qp40.json").string(), "--chords", Path("c.txt").string()});
  Ok({Simulate(), "export", Path("b.qp40.json").string(), "--chords", Path("c.txt").string()});
  const std::string text = ReadText(Path("a.qp40.json"));
  EXPECT_EQ(text, ReadText(Path("b.qp40.json")));
  EXPECT_THAT(text, HasSubstr("        [\"Esc\", \"string:\\\"Hello\\\"\", "
                              "\"Ctrl+burst:\\\"abc\\\"\", \"3\","));
  EXPECT_THAT(text, HasSubstr("  \"macros\": {\n    \"5\": [\n"));
  EXPECT_THAT(text, HasSubstr("  \"chords\": {\n    \"1\": \"1607002800000000\",\n    \"2\": "));
  EXPECT_THAT(text, HasSubstr("\"identity\": \"04 b4"));

  Ok({Simulate(), "export", Path("n.qp40.json").string(), "--no-macros"});
  const std::string without = ReadText(Path("n.qp40.json"));
  EXPECT_THAT(without, HasSubstr("  \"macros\": {}\n}\n"));
  EXPECT_THAT(without, Not(HasSubstr("chords")));
}

TEST_F(LayoutCommandsTest, ExportFromABackupNeedsNoKeypad) {
  SetUpKeypad();
  Ok({Simulate(), "backup", Path("b.bin").string()});
  Ok({"export", Path("b.qp40.json").string(), "--from", Path("b.bin").string()});
  const std::string text = ReadText(Path("b.qp40.json"));
  EXPECT_THAT(text, HasSubstr("\"string:\\\"Hello\\\"\", \"Ctrl+burst:\\\"abc\\\"\""));
  EXPECT_THAT(text, HasSubstr("\"identity\": \"\""));
  EXPECT_THAT(text, HasSubstr("  \"macros\": {}\n}\n"));
}

TEST_F(LayoutCommandsTest, ExportRefusesWhatItCannotRead) {
  WriteText(Path("bad.txt"), "no chords here");
  const CtlResult chords = RunCtl(
      {Simulate(), "export", Path("a.qp40.json").string(), "--chords", Path("bad.txt").string()});
  EXPECT_EQ(chords.exit_code, 1);
  EXPECT_THAT(chords.err, HasSubstr("is no chord file"));
  const CtlResult backup =
      RunCtl({"export", Path("a.qp40.json").string(), "--from", Path("none.bin").string()});
  EXPECT_EQ(backup.exit_code, 1);
  EXPECT_FALSE(std::filesystem::exists(Path("a.qp40.json")));
}

// Each pair of sources: one line per change, status 0 when equal, 1 when not, 2 on trouble.
TEST_F(LayoutCommandsTest, DiffComparesKeypadBackupsAndLayoutFiles) {
  SetUpKeypad();
  Ok({Simulate(), "export", Path("a.qp40.json").string()});
  Ok({Simulate(), "backup", Path("k.bin").string()});
  std::string text = ReadText(Path("a.qp40.json"));
  const std::string row = "[\"Tab\", \"q\"";
  text.replace(text.find(row), row.size(), "[\"Tab\", \"Ctrl+Shift+q\"");
  WriteText(Path("b.qp40.json"), text);
  const std::string change = "profile 1, row 2, column 2: q -> Ctrl+Shift+q\n";
  struct Case {
    std::string a;
    std::string b;
    int status;
    std::string out;
  };
  const std::vector<Case> cases = {
      {"keypad", Path("a.qp40.json").string(), 0, ""},
      {"keypad", Path("b.qp40.json").string(), 1, change},
      {Path("k.bin").string(), Path("b.qp40.json").string(), 1, change},
      {Path("k.bin").string(), "keypad", 0, ""},
      {Path("a.qp40.json").string(), Path("b.qp40.json").string(), 1, change},
  };
  for (const Case& c : cases) {
    const CtlResult result = RunCtl({Simulate(), "diff", c.a, c.b});
    EXPECT_EQ(result.exit_code, c.status) << c.a << " " << c.b << ": " << result.err;
    EXPECT_EQ(result.out, c.out) << c.a << " " << c.b;
  }
  WriteText(Path("bad.qp40.json"), "{\n  \"format\": 1,\n  \"profiles\": [,]\n}\n");
  const CtlResult bad = RunCtl({Simulate(), "diff", "keypad", Path("bad.qp40.json").string()});
  EXPECT_EQ(bad.exit_code, 2);
  EXPECT_THAT(bad.err, HasSubstr("line 3, column 16: not JSON"));
}

// Export, change one key, apply: only that block is written; the keypad then exports as the file.
TEST_F(LayoutCommandsTest, ApplyWritesOnlyWhatTheFileChanges) {
  SetUpKeypad();
  Ok({Simulate(), "export", Path("a.qp40.json").string(), "--chords", Path("c.txt").string()});
  std::string text = ReadText(Path("a.qp40.json"));
  const std::string row = "[\"Tab\", \"q\"";
  text.replace(text.find(row), row.size(), "[\"Tab\", \"Ctrl+Shift+q\"");
  WriteText(Path("a.qp40.json"), text);
  const std::string change = "profile 1, row 2, column 2: q -> Ctrl+Shift+q\n";

  const std::vector<std::uint8_t> image = ReadBytes(Image());
  EXPECT_EQ(Ok({Simulate(), "apply", "--dry-run", Path("a.qp40.json").string()}),
            change + "Dry run: nothing was written to the keypad.\n");
  EXPECT_EQ(ReadBytes(Image()), image);

  EXPECT_EQ(Ok({Simulate(), "apply", Path("a.qp40.json").string(), "--chords-out",
                Path("out.txt").string()}),
            change + "Written and read back: blocks #28; macros none\n");
  EXPECT_EQ(ReadBytes(Path("out.txt")), ReadBytes(Path("c.txt")));
  Ok({Simulate(), "export", Path("b.qp40.json").string(), "--chords", Path("c.txt").string()});
  EXPECT_EQ(ReadText(Path("b.qp40.json")), text);
  EXPECT_EQ(Ok({Simulate(), "apply", Path("a.qp40.json").string()}),
            "The keypad holds this layout already.\n"
            "Written and read back: blocks none; macros none\n");
}

TEST_F(LayoutCommandsTest, ApplyWritesTheMacrosThatDifferAndOneProfileOnly) {
  SetUpKeypad();
  Ok({Simulate(), "export", Path("a.qp40.json").string()});
  std::string text = ReadText(Path("a.qp40.json"));
  const std::string macros = "\"macros\": {\n";
  text.replace(text.find(macros), macros.size(),
               macros + "    \"7\": [\n      \"press    b   20  \"\n    ],\n");
  const std::string row = "[\"Tab\", \"q\"";
  text.replace(text.rfind(row), row.size(), "[\"Tab\", \"Enter\"");
  WriteText(Path("a.qp40.json"), text);

  EXPECT_EQ(Ok({Simulate(), "apply", "--profile", "4", Path("a.qp40.json").string()}),
            "profile 4, row 2, column 2: q -> Enter\n"
            "Written and read back: blocks #28; macros none\n");
  EXPECT_EQ(Ok({Simulate(), "apply", Path("a.qp40.json").string()}),
            "macro 7, line 1: (none) -> press    b   20  \n"
            "Written and read back: blocks none; macros 7\n");
  EXPECT_EQ(Ok({Simulate(), "macro", "get", "7"}), "press    b   20  \r\n");
}

// Every problem of the file is listed, and the keypad is not touched.
TEST_F(LayoutCommandsTest, ApplyRefusesABadFileBeforeWritingAnything) {
  SetUpKeypad();
  Ok({Simulate(), "export", Path("a.qp40.json").string()});
  std::string text = ReadText(Path("a.qp40.json"));
  const std::string row = "[\"Tab\", \"q\"";
  text.replace(text.find(row), row.size(), "[\"Tab\", \"Entr\"");
  const std::string board = "\"board\": \"48 keys\"";
  text.replace(text.find(board), board.size(), "\"board\": \"47 keys\"");
  const std::string macros = "\"macros\": {\n";
  text.replace(text.find(macros), macros.size(),
               macros + "    \"7\": [\n      \"presss a\"\n    ],\n");
  WriteText(Path("a.qp40.json"), text);
  const std::vector<std::uint8_t> image = ReadBytes(Image());
  const CtlResult result = RunCtl({Simulate(), "apply", Path("a.qp40.json").string()});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_THAT(result.err, HasSubstr("profile 1, row 2, column 2: 'Entr' is no key name"));
  EXPECT_THAT(result.err, HasSubstr("'47 keys' is no board type"));
  EXPECT_THAT(result.err, HasSubstr("macro 7, line 1"));
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(ReadBytes(Image()), image);
}

}  // namespace
}  // namespace qp40::e2e
