// File names beyond ASCII and the bytes of text output, which must be the same on every system.
#include <algorithm>
#include <string>
#include <vector>

#include "ctl_runner.h"
#include "files/utf8_path.h"

namespace qp40::e2e {
namespace {

using ::testing::HasSubstr;

class FileNamesTest : public CtlTest {
 protected:
  // A folder and files whose names need more than one code page.
  std::filesystem::path Folder() const { return Path("Tastenfeld-äöü-ĳ-キー"); }
  std::string InFolder(const std::string& name) const {
    return Utf8FromPath(Folder() / PathFromUtf8(name));
  }
};

TEST_F(FileNamesTest, ImageBackupAndScriptWithNonAsciiNamesWork) {
  std::filesystem::create_directories(Folder());
  const std::string image = InFolder("Gerät.img");
  const std::string backup = InFolder("Sicherung-€.bin");
  const std::string script = InFolder("Makro-é.txt");

  Ok({"--simulate=" + image, "key", "set", "1", "1", "Enter"});
  EXPECT_EQ(ReadBytes(PathFromUtf8(image)).size(), 262144u);
  Ok({"--simulate=" + image, "backup", backup});
  EXPECT_EQ(ReadBytes(PathFromUtf8(backup)).size(), 10244u);
  EXPECT_THAT(Ok({"show", "--tsv", backup}), ::testing::StartsWith("Enter\t"));

  WriteText(PathFromUtf8(script), "delay 200\r\n");
  Ok({"--simulate=" + image, "macro", "put", "3", script});
  EXPECT_EQ(Ok({"--simulate=" + image, "macro", "get", "3"}), "delay    200  \r\n");

  const CtlResult missing = RunCtl({"show", InFolder("fehlt-ß.bin")});
  EXPECT_EQ(missing.exit_code, 1);
  EXPECT_THAT(missing.err, HasSubstr("fehlt-ß.bin"));
}

TEST_F(FileNamesTest, ScriptListingWrittenToAFileKeepsItsLineEnds) {
  const std::string script = Utf8FromPath(Path("m.txt"));
  WriteText(Path("m.txt"), "delay 200\ndelay 300\n");
  Ok({Simulate(), "macro", "put", "7", script});

  const std::string listing = Utf8FromPath(Path("listing.txt"));
  WriteText(Path("listing.txt"), "");
  const CtlResult result = RunCtl({Simulate(), "macro", "get", "7"}, listing.c_str());
  EXPECT_EQ(result.exit_code, 0) << result.err;
  const std::vector<std::uint8_t> bytes = ReadBytes(Path("listing.txt"));
  const std::string text(bytes.begin(), bytes.end());
  EXPECT_EQ(text, "delay    200  \r\ndelay    300  \r\n");
}

}  // namespace
}  // namespace qp40::e2e
