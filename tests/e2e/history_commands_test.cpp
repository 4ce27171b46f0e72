// qp40ctl history: the snapshots the commands keep, and one put back.
#include <filesystem>
#include <string>
#include <vector>

#include "ctl_runner.h"

namespace qp40::e2e {
namespace {

using ::testing::HasSubstr;

class HistoryCommandsTest : public CtlTest {};

TEST_F(HistoryCommandsTest, LoadEditSaveEditSaveKeepsThreeSnapshotsAndTheFirstComesBack) {
  Ok({Simulate(), "show"});
  Ok({Simulate(), "key", "set", "1", "1", "Enter"});
  Ok({Simulate(), "key", "set", "1", "2", "string:\"Hello\""});

  const std::string list = Ok({Simulate(), "history", "list"});
  std::vector<std::string> lines;
  for (std::size_t start = 0, end; (end = list.find('\n', start)) != std::string::npos;
       start = end + 1) {
    lines.push_back(list.substr(start, end - start));
  }
  ASSERT_EQ(lines.size(), 3U) << list;
  EXPECT_THAT(lines[0], HasSubstr("\tload\tfirst snapshot"));
  EXPECT_THAT(lines[1], HasSubstr("\tsave\t1 key changed"));
  EXPECT_THAT(lines[2], HasSubstr("\tsave\t1 key changed"));

  EXPECT_EQ(Ok({Simulate(), "history", "show", "1"}),
            "profile 1, row 1, column 1: Enter -> Esc\n"
            "profile 1, row 1, column 2: string:\"Hello\" -> 1\n");
  const CtlResult restored = RunCtl({Simulate(), "history", "restore", "1"});
  EXPECT_EQ(restored.exit_code, 0) << restored.err;
  EXPECT_EQ(Ok({Simulate(), "history", "show", "1"}), "");

  const CtlResult missing = RunCtl({Simulate(), "history", "show", "99"});
  EXPECT_EQ(missing.exit_code, 1);
  EXPECT_THAT(missing.err, HasSubstr("there is no snapshot 99"));
}

TEST_F(HistoryCommandsTest, ACorruptSnapshotIsSkippedNeverLoadedHalf) {
  Ok({Simulate(), "show"});
  Ok({Simulate(), "key", "set", "1", "1", "Enter"});
  std::filesystem::path first;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(Path("data"))) {
    if (entry.path().filename().string().starts_with("000001-")) first = entry.path();
  }
  ASSERT_FALSE(first.empty());
  std::vector<std::uint8_t> bytes = ReadBytes(first);
  bytes.resize(bytes.size() / 2);
  WriteBytes(first, bytes);
  const std::vector<std::uint8_t> image = ReadBytes(Image());

  EXPECT_THAT(Ok({Simulate(), "history", "list"}), HasSubstr("\tload\tcannot be read\n"));
  const CtlResult restore = RunCtl({Simulate(), "history", "restore", "1"});
  EXPECT_EQ(restore.exit_code, 1);
  EXPECT_THAT(restore.err, HasSubstr("cannot be read; it is left alone"));
  EXPECT_EQ(ReadBytes(Image()), image);
}

}  // namespace
}  // namespace qp40::e2e
