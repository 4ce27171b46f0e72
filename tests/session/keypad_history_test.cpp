// The snapshots a keypad session keeps: after a load, an import and a save, before a save and a
// factory restore, and none for what the keypad held already.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "layout/layout_file.h"
#include "session/keypad_session.h"
#include "session/session_fixture.h"

namespace qp40 {
namespace {

namespace fs = std::filesystem;

class KeypadHistoryTest : public testing::SessionFixture {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() /
            ("qp40-session-history-" +
             std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    session.SetHistoryRoot(root_);
  }
  void TearDown() override { fs::remove_all(root_); }

  std::vector<SnapshotEvent> Events() const {
    std::vector<SnapshotEvent> events;
    if (const auto history = session.KeypadHistory()) {
      for (const Snapshot& snapshot : history->List()) events.push_back(snapshot.event);
    }
    return events;
  }

  fs::path root_;
};

TEST_F(KeypadHistoryTest, KeepsWhatTheKeypadHoldsAtEachStepAndNothingTwice) {
  using E = SnapshotEvent;
  ASSERT_EQ(session.Load().status, SessionStatus::kDone);
  EXPECT_EQ(Events(), std::vector<E>{E::kLoad});
  ASSERT_EQ(session.Load().status, SessionStatus::kDone);
  EXPECT_EQ(Events(), std::vector<E>{E::kLoad});  // unchanged: not kept again

  Layout layout = session.CurrentLayout({});
  layout.profiles[0].keys[0] = "Enter";
  ASSERT_EQ(session.ImportLayout(layout, {}).status, SessionStatus::kDone);
  EXPECT_EQ(Events(), (std::vector<E>{E::kLoad, E::kImport}));
  // Before the save the keypad still holds the loaded configuration: no second copy of it.
  ASSERT_EQ(session.Save().status, SessionStatus::kDone);
  EXPECT_EQ(Events(), (std::vector<E>{E::kLoad, E::kImport, E::kSave}));

  ASSERT_EQ(session.RestoreFactorySettings(), SessionStatus::kDone);
  ASSERT_EQ(session.Load().status, SessionStatus::kDone);
  EXPECT_EQ(Events(), (std::vector<E>{E::kLoad, E::kImport, E::kSave, E::kLoad}));

  const auto history = session.KeypadHistory();
  ASSERT_TRUE(history);
  const std::vector<Snapshot> snapshots = history->List();
  const LayoutParse saved = ParseLayoutText(*history->Read(snapshots[2]));
  ASSERT_TRUE(saved.layout);
  EXPECT_EQ(saved.layout->profiles[0].keys[0], "Enter");
  EXPECT_EQ(ParseLayoutText(*history->Read(snapshots[3])).layout->profiles[0].keys[0], "Esc");
}

TEST_F(KeypadHistoryTest, AFolderThatCannotBeWrittenIsSaidOnceAndTheWorkGoesOn) {
  fs::create_directories(root_);
  const fs::path blocked = root_ / "file";
  std::ofstream(blocked) << "in the way";
  session.SetHistoryRoot(blocked / "history");
  ASSERT_EQ(session.Load().status, SessionStatus::kDone);
  ASSERT_EQ(session.ApplyKeyEdit(0, KeyEdit{{kActionKey, 0x28, 0, 0}, std::nullopt}).status,
            SessionStatus::kDone);
  EXPECT_EQ(session.Save().status, SessionStatus::kDone);
  int warnings = 0;
  for (const std::string& line : env.sink.lines) {
    if (line.find(">> History: ") == 0) ++warnings;
  }
  EXPECT_EQ(warnings, 1);
}

}  // namespace
}  // namespace qp40
