// The keypad history: snapshots kept in order, never twice the same, pruned at the bounds, and a
// folder that cannot be written changes nothing.
#include "history/snapshot_store.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "history/change_summary.h"
#include "history/history_folder.h"

namespace qp40 {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::system_clock;

class SnapshotStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("qp40-history-" + std::to_string(Clock::now().time_since_epoch().count()));
  }
  void TearDown() override { fs::remove_all(folder_); }

  std::vector<std::string> Texts(const SnapshotStore& store) const {
    std::vector<std::string> texts;
    for (const Snapshot& snapshot : store.List()) texts.push_back(*store.Read(snapshot));
    return texts;
  }

  fs::path folder_;
  // 2026-12-11 15:21:05 UTC
  Clock::time_point when_ = Clock::time_point(std::chrono::seconds(1797002465));
};

TEST_F(SnapshotStoreTest, KeepsSnapshotsInOrderAndNoneTwiceForTheKeypad) {
  SnapshotStore store(folder_ / "keypad");
  EXPECT_EQ(store.Keep(SnapshotEvent::kLoad, "a", when_), KeepStatus::kKept);
  EXPECT_EQ(store.Keep(SnapshotEvent::kBeforeSave, "a", when_), KeepStatus::kSameAsLast);
  EXPECT_EQ(store.Keep(SnapshotEvent::kImport, "b", when_), KeepStatus::kKept);
  // The keypad still holds "a": the import in between does not make it new.
  EXPECT_EQ(store.Keep(SnapshotEvent::kBeforeSave, "a", when_), KeepStatus::kSameAsLast);
  EXPECT_EQ(store.Keep(SnapshotEvent::kSave, "b", when_), KeepStatus::kKept);

  const std::vector<Snapshot> snapshots = store.List();
  ASSERT_EQ(snapshots.size(), 3U);
  EXPECT_EQ(snapshots[0].path.filename(), "000001-20261211-152105-load.qp40.json");
  EXPECT_EQ(snapshots[0].time, "2026-12-11 15:21:05 UTC");
  EXPECT_EQ(snapshots[1].event, SnapshotEvent::kImport);
  EXPECT_EQ(snapshots[2].number, 3);
  EXPECT_EQ(SnapshotEventText(snapshots[2].event), "save");
  EXPECT_EQ(Texts(store), (std::vector<std::string>{"a", "b", "b"}));
}

TEST_F(SnapshotStoreTest, PrunesTheOldestAtEitherBoundButKeepsTheNewest) {
  SnapshotStore by_count(folder_ / "count", HistoryLimits{3, 1000});
  for (const char* text : {"1", "2", "3", "4", "5"})
    by_count.Keep(SnapshotEvent::kSave, text, when_);
  EXPECT_EQ(Texts(by_count), (std::vector<std::string>{"3", "4", "5"}));
  EXPECT_EQ(by_count.List().front().number, 3);

  SnapshotStore by_size(folder_ / "size", HistoryLimits{200, 10});
  for (const char* text : {"aaaa", "bbbb", "cccc", "dddddddddddddddd"}) {
    by_size.Keep(SnapshotEvent::kSave, text, when_);
  }
  EXPECT_EQ(Texts(by_size), (std::vector<std::string>{"dddddddddddddddd"}));
}

TEST_F(SnapshotStoreTest, ForeignFilesAreLeftOutAndAnUnwritableFolderKeepsNothing) {
  SnapshotStore store(folder_);
  store.Keep(SnapshotEvent::kLoad, "a", when_);
  std::ofstream(folder_ / "notes.txt") << "mine";
  std::ofstream(folder_ / "000009-2026-bad-save.qp40.json") << "x";
  EXPECT_EQ(store.List().size(), 1U);

  // A file where the folder should be: nothing can be created below it.
  SnapshotStore blocked(folder_ / "notes.txt" / "keypad");
  EXPECT_EQ(blocked.Keep(SnapshotEvent::kLoad, "a", when_), KeepStatus::kFailed);
  EXPECT_TRUE(blocked.List().empty());
}

TEST(HistoryFolderTest, LivesInTheUsersDataFolderUnderTheKeypadsIdentity) {
  const auto env = [](std::map<std::string, std::string> values) {
    return [values](std::string_view name) -> std::optional<std::string> {
      const auto found = values.find(std::string(name));
      if (found == values.end()) return std::nullopt;
      return found->second;
    };
  };
#ifdef _WIN32
  EXPECT_EQ(HistoryRoot(env({{"LOCALAPPDATA", "C:/l"}})), fs::path("C:/l/qp40/history"));
#else
  EXPECT_EQ(HistoryRoot(env({{"XDG_DATA_HOME", "/d"}, {"HOME", "/h"}})),
            fs::path("/d/qp40/history"));
  EXPECT_EQ(HistoryRoot(env({{"HOME", "/h"}})), fs::path("/h/.local/share/qp40/history"));
#endif
  EXPECT_EQ(HistoryRoot(env({})), std::nullopt);
  EXPECT_EQ(KeypadHistoryFolder("r", "04 B4 08 ../20"), fs::path("r") / "04b40820");
  EXPECT_EQ(KeypadHistoryFolder("r", "../.."), fs::path("r") / "unknown");
}

TEST(HistoryFolderTest, TheBoundsComeFromTheEnvironmentWhenTheyAreNumbers) {
  const auto limits = [](std::map<std::string, std::string> values) {
    return HistoryLimitsFrom([values](std::string_view name) -> std::optional<std::string> {
      const auto found = values.find(std::string(name));
      if (found == values.end()) return std::nullopt;
      return found->second;
    });
  };
  EXPECT_EQ(limits({}).snapshots, 200U);
  EXPECT_EQ(limits({}).bytes, 50U * 1024 * 1024);
  const HistoryLimits set = limits({{"QP40_HISTORY_SNAPSHOTS", "20"}, {"QP40_HISTORY_MB", "3"}});
  EXPECT_EQ(set.snapshots, 20U);
  EXPECT_EQ(set.bytes, 3U * 1024 * 1024);
  for (const char* bad : {"0", "-5", "12x", "", "99999999999999999999999"}) {
    EXPECT_EQ(limits({{"QP40_HISTORY_SNAPSHOTS", bad}, {"QP40_HISTORY_MB", bad}}).snapshots, 200U)
        << bad;
    EXPECT_EQ(limits({{"QP40_HISTORY_MB", bad}}).bytes, 50U * 1024 * 1024) << bad;
  }
}

TEST(ChangeSummaryTest, CountsKeysAndSettingsAndNamesMacrosAndChords) {
  EXPECT_EQ(ChangeSummary({}), "no change");
  EXPECT_EQ(
      ChangeSummary({"profile 1, row 1, column 1: a -> b", "profile 2, row 1, column 1: a -> b",
                     "profile 2, row 1, column 2: a -> b", "macro 5, line 1: x -> y",
                     "macro 5, line 2: x -> y"}),
      "3 keys, macro 5 changed");
  EXPECT_EQ(ChangeSummary({"profile 1, settings, typing: false -> true", "macro 5, line 1: x -> y",
                           "macro 7, line 1: x -> y", "chord 2: (empty) -> 16"}),
            "1 setting, macros 5, 7, chord 2 changed");
}

}  // namespace
}  // namespace qp40
