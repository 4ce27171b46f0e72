// qp40ctl render: the cheat sheet from the virtual keypad and from backup files.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "ctl_runner.h"

namespace qp40::e2e {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

std::string ReadText(const std::filesystem::path& path) {
  const std::vector<std::uint8_t> bytes = ReadBytes(path);
  return {bytes.begin(), bytes.end()};
}

// Whether xmllint accepts the file; always true where it cannot run (the Windows build's tests
// under Wine).
bool ParsesAsXml(const std::filesystem::path& path) {
#ifdef _WIN32
  (void)path;
  return true;
#else
  const std::string command = "xmllint --noout '" + path.string() + "'";
  return std::system(command.c_str()) == 0;
#endif
}

class RenderCommandTest : public CtlTest {};

TEST_F(RenderCommandTest, DrawsAllProfilesWithTheMacroAndEscapedTexts) {
  WriteText(Path("m.txt"), "press a 20\nrelease a 20\n");
  Ok({Simulate(), "macro", "put", "5", Path("m.txt").string()});
  Ok({Simulate(), "key", "set", "1", "2", "--string", "a<b&\"c\""});
  Ok({Simulate(), "key", "set", "1", "3", "--macro", "5"});
  Ok({Simulate(), "key", "set", "--profile", "3", "2", "2", "--macro", "6"});  // never stored

  const std::filesystem::path svg = Path("all.svg");
  Ok({Simulate(), "render", "-o", svg.string()});
  ASSERT_TRUE(ParsesAsXml(svg));
  const std::string sheet = ReadText(svg);
  for (const char* part :
       {"User Profile 1", "User Profile 2", "User Profile 3", "User Profile 4",
        ">a&lt;b&amp;&quot;c&quot;</text>", ">Macro 5</text>", ">press    a", ">Macro 6</text>",
        "(not stored on the keypad)", "Profile 1, row 1, column 2: string"}) {
    EXPECT_THAT(sheet, HasSubstr(part)) << part;
  }
}

TEST_F(RenderCommandTest, DrawsOneProfileOfABackupWithTheChordsOfAChordFile) {
  Ok({Simulate(), "key", "set", "--profile", "2", "1", "1", "--burst", "DIMLINEAR"});
  Ok({Simulate(), "backup", Path("full.bin").string()});
  Ok({"chord", "new", Path("chords.txt").string()});
  Ok({"chord", "set", Path("chords.txt").string(), "1", "--keys", "s", "d", "--out", "Enter"});

  const std::filesystem::path svg = Path("two.svg");
  const std::string out = Ok({"render", "--profile", "2", "--from", Path("full.bin").string(),
                              "--chords", Path("chords.txt").string(), "-o", svg.string()});
  EXPECT_EQ(out, "");
  ASSERT_TRUE(ParsesAsXml(svg));
  const std::string sheet = ReadText(svg);
  EXPECT_THAT(sheet, HasSubstr("User Profile 2"));
  EXPECT_THAT(sheet, Not(HasSubstr("User Profile 1")));
  EXPECT_THAT(sheet, HasSubstr(">DIMLINEAR</text>"));
  EXPECT_THAT(sheet, HasSubstr(">Chords</text>"));
  EXPECT_THAT(sheet, HasSubstr("Enter"));

  Ok({"render", "--profile", "2", "--from", Path("full.bin").string(), "--no-appendix", "-o",
      svg.string()});
  EXPECT_THAT(ReadText(svg), Not(HasSubstr("Appendix")));
}

// A layout file draws as the keypad it was exported from, its macros and chords included.
TEST_F(RenderCommandTest, DrawsALayoutFileAsTheKeypadItCameFrom) {
  WriteText(Path("m.txt"), "press a 20\nrelease a 20\n");
  Ok({Simulate(), "macro", "put", "5", Path("m.txt").string()});
  Ok({Simulate(), "key", "set", "1", "2", "--string", "a<b&\"c\""});
  Ok({Simulate(), "key", "set", "1", "3", "--macro", "5"});
  Ok({"chord", "new", Path("chords.txt").string()});
  Ok({"chord", "set", Path("chords.txt").string(), "1", "--keys", "s", "d", "--out", "Enter"});
  Ok({Simulate(), "export", Path("k.qp40.json").string(), "--chords",
      Path("chords.txt").string()});

  Ok({Simulate(), "render", "--chords", Path("chords.txt").string(), "-o",
      Path("keypad.svg").string()});
  Ok({"render", "--from", Path("k.qp40.json").string(), "-o", Path("layout.svg").string()});
  ASSERT_TRUE(ParsesAsXml(Path("layout.svg")));
  EXPECT_EQ(ReadText(Path("layout.svg")), ReadText(Path("keypad.svg")));
}

TEST_F(RenderCommandTest, AFileThatCannotBeReadLeavesNoPictureBehind) {
  Ok({Simulate(), "backup", Path("full.bin").string()});
  std::vector<std::uint8_t> truncated = ReadBytes(Path("full.bin"));
  truncated.resize(5000);
  WriteBytes(Path("truncated.bin"), truncated);
  WriteText(Path("not-chords.txt"), "hello\n");
  WriteText(Path("bad.qp40.json"), "{,}\n");

  struct Case {
    std::vector<std::string> args;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{"--from", Path("truncated.bin").string()}, "Error: File Too Short !"},
      {{"--from", Path("missing.bin").string()}, "ERROR:Can't open file"},
      {{"--from", Path("missing.qp40.json").string()}, "no layout file to read"},
      {{"--from", Path("bad.qp40.json").string()}, "line 1, column 2: not JSON"},
      {{"--from", Path("full.bin").string(), "--chords", Path("not-chords.txt").string()},
       "not a chord file"},
  };
  const std::filesystem::path svg = Path("sheet.svg");
  for (const Case& c : cases) {
    std::vector<std::string> args = {"render", "-o", svg.string()};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const CtlResult result = RunCtl(args);
    EXPECT_EQ(result.exit_code, 1) << c.message;
    EXPECT_THAT(result.err, HasSubstr(c.message));
    EXPECT_FALSE(std::filesystem::exists(svg)) << c.message;
  }
  EXPECT_EQ(RunCtl({"render", "--profile", "5", "-o", svg.string()}).exit_code, 2);
  EXPECT_EQ(RunCtl({"render", "--from", Path("full.bin").string()}).exit_code, 2);  // no -o
}

}  // namespace
}  // namespace qp40::e2e
