// qp40ctl's chord commands on chord files: new, set, cut and list, each writing the whole file
// anew through a temporary file.
#include <string>
#include <vector>

#include "ctl_runner.h"

namespace qp40::e2e {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

constexpr const char* kArrow = "\xE2\x86\x92";

// The chord file of 32 empty records.
std::string EmptyChordFile() {
  std::string file = "0x92, 0x02, 0x00, 0x01, \r\n";
  for (int i = 0; i < 32; ++i) {
    file += " 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, \r\n";
  }
  return file + " ";
}

std::string ReadText(const std::filesystem::path& path) {
  const std::vector<std::uint8_t> bytes = ReadBytes(path);
  return {bytes.begin(), bytes.end()};
}

class ChordCommandsTest : public CtlTest {
 protected:
  std::string File() const { return Path("f.txt").string(); }
};

TEST_F(ChordCommandsTest, NewSetAndListGiveTheChordOfTheExample) {
  Ok({"chord", "new", File()});
  EXPECT_EQ(ReadText(File()), EmptyChordFile());
  Ok({"chord", "set", File(), "1", "--keys", "s", "d", "--out", "Enter"});
  EXPECT_THAT(Ok({"chord", "list", File()}),
              StartsWith(std::string("No. 1 :  s d") + kArrow + "  + Enter\r\nNo. 2 :  \r\n"));
  EXPECT_THAT(ReadText(File()),
              HasSubstr("\r\n 0x16, 0x07, 0x00, 0x28, 0x00, 0x00, 0x00, 0x00, \r\n"));
}

TEST_F(ChordCommandsTest, SetChangesOnlyTheFieldsGivenAndCutClears) {
  Ok({"chord", "new", File()});
  Ok({"chord", "set", File(), "2", "--keys", "Space", "a", "--out", "w", "d", "c", "--mods",
      "shift,Ctrl"});
  Ok({"chord", "set", File(), "2", "--out", "x"});
  Ok({"chord", "set", File(), "3", "--keys", "q", "--sixth", "Enter"});
  Ok({"chord", "set", File(), "4", "--keys", "F1", "F2", "--out", "Esc", "--mods", "Alt"});
  Ok({"chord", "set", File(), "4", "--mods", ""});
  const std::string list = Ok({"chord", "list", File()});
  EXPECT_THAT(list, HasSubstr(std::string("No. 2 :  Space a") + kArrow + "  Ctrl  Shift  + x\r\n"));
  EXPECT_THAT(list, HasSubstr("No. 3 :  q    + Enter\r\n"));
  EXPECT_THAT(list, HasSubstr(std::string("No. 4 :  F1 F2") + kArrow + "  + Esc\r\n"));
  EXPECT_THAT(ReadText(File()), HasSubstr(" 0x14, 0x00, 0xa8, 0x00,"));

  Ok({"chord", "cut", File(), "2"});
  EXPECT_THAT(Ok({"chord", "list", File()}), HasSubstr("No. 2 :  \r\nNo. 3 :  q"));
}

TEST_F(ChordCommandsTest, RefusalsLeaveTheFileAsItWas) {
  Ok({"chord", "new", File()});
  Ok({"chord", "set", File(), "3", "--keys", "q", "--sixth", "Enter"});
  const std::string before = ReadText(File());

  struct Case {
    std::vector<std::string> args;
    int exit_code;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{"set", File(), "1", "--keys", "Entr"}, 2, "'Entr' is no key name; did you mean Enter"},
      {{"set", File(), "1", "--mods", "Ctrl,Hyper"}, 2, "'Hyper' is none of Ctrl, Shift"},
      {{"set", File(), "33", "--keys", "a"}, 2, "33"},
      {{"set", File(), "1", "--out", "a", "b", "c", "d", "e", "f"}, 2, ""},
      {{"set", File(), "1", "--sixth", "Ctrl"},
       1,
       "Output 6: \"Ctrl\" has the code 0xE0; a sixth character takes codes up to 0x7F only."},
      {{"set", File(), "3", "--mods", "Ctrl"}, 2, "leaves no room for modifiers"},
      {{"cut", File(), "0"}, 2, ""},
      {{"new", File()}, 1, "exists already; --force replaces it"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"chord"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const CtlResult result = RunCtl(args);
    EXPECT_EQ(result.exit_code, c.exit_code) << c.args[0] << " " << c.message;
    EXPECT_THAT(result.err, HasSubstr(c.message)) << c.args[0];
    EXPECT_EQ(ReadText(File()), before) << c.args[0] << " " << c.message;
  }
  Ok({"chord", "new", "--force", File()});
  EXPECT_EQ(ReadText(File()), EmptyChordFile());
}

TEST_F(ChordCommandsTest, FilesThatAreNoWholeChordFileAreNotRewritten) {
  WriteText(Path("short.txt"), "0x92, 0x02, 0x00, 0x01, \r\n 0x16, 0x07,");
  WriteText(Path("other.txt"), "0x93, 0x02, 0x00, 0x01, \r\n");
  struct Case {
    std::string file;
    std::string message;
  };
  const std::vector<Case> cases = {
      {Path("short.txt").string(), "cut short after 2 of 256 values; the file is left as it is"},
      {Path("other.txt").string(), "unknow file"},
      {Path("missing.txt").string(), "cannot be opened"},
  };
  for (const Case& c : cases) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"chord", "set", c.file, "1", "--keys", "a"},
          std::vector<std::string>{"chord", "cut", c.file, "1"}}) {
      const CtlResult result = RunCtl(args);
      EXPECT_EQ(result.exit_code, 1) << args[1] << " " << c.file;
      EXPECT_THAT(result.err, HasSubstr(c.message)) << args[1] << " " << c.file;
    }
  }
  EXPECT_EQ(ReadText(Path("short.txt")), "0x92, 0x02, 0x00, 0x01, \r\n 0x16, 0x07,");
  EXPECT_FALSE(std::filesystem::exists(Path("missing.txt")));
}

}  // namespace
}  // namespace qp40::e2e
