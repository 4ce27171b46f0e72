#include "session/keypad_session.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "editing/key_edits.h"
#include "macros/string_store.h"
#include "model/backup_file.h"
#include "session/session_fixture.h"

namespace qp40 {
namespace {

using Blocks = std::vector<std::uint8_t>;
using Commands = std::vector<std::pair<std::uint8_t, std::uint8_t>>;

constexpr KeyActionRecord kEnter = {kActionKey, 0x28, 0, 0};

// A session on a keypad that was loaded once, so what the keypad holds is known.
class KeypadSessionTest : public testing::SessionFixture {
 protected:
  KeypadSessionTest() { EXPECT_EQ(session.Load().status, SessionStatus::kDone); }

  // The prepares, writes and reads of a save, block by block.
  Commands SaveCommands(SaveMode mode = SaveMode::kChangedBlocks) {
    const std::size_t first = keypad.Requests().size();
    last_save = session.Save(mode);
    return CommandsSince(first);
  }

  static Commands WriteAndReadBack(const Blocks& blocks) {
    Commands commands;
    for (const std::uint8_t block : blocks) {
      commands.insert(commands.end(), {{kCmdPrepareBlock, block}, {kCmdWritePage, block}});
    }
    for (const std::uint8_t block : blocks) commands.emplace_back(kCmdReadPage, block);
    return commands;
  }

  SaveResult last_save;
};

TEST_F(KeypadSessionTest, OneKeyEditWritesTheProfileBlockAndReadsItBack) {
  ASSERT_EQ(session.ApplyKeyEdit(0, KeyEdit{kEnter, std::nullopt}).status, SessionStatus::kDone);
  EXPECT_EQ(env.sink.lines.back(), ">> KEY-11: 80  28   0   0");

  EXPECT_EQ(SaveCommands(), WriteAndReadBack({kProfileBlock}));
  EXPECT_EQ(last_save.status, SessionStatus::kDone);
  EXPECT_EQ(last_save.blocks_written, Blocks{kProfileBlock});
  EXPECT_EQ(last_save.blocks_unchanged, (Blocks{30, 31, 32, 33}));
  EXPECT_EQ(env.sink.lines.end()[-2], ">> Unchanged on Device, not written: #30, #31, #32, #33");
  EXPECT_EQ(env.sink.lines.back(), ">> Checked on Device, as written: #28");
  EXPECT_EQ(keypad.BlockData(kProfileBlock)[kSlotSize * kDefaultKeyCodeMap[0] + 1], 0x28);

  // Saved again, nothing has changed: nothing is written or read.
  EXPECT_EQ(SaveCommands(), Commands{});
  EXPECT_EQ(last_save.status, SessionStatus::kDone);
}

TEST_F(KeypadSessionTest, ANewTextForTheSameStringWritesTheStringBlockOnly) {
  ASSERT_EQ(session.ApplyKeyEdit(3, TextEdit(KeypadTextKind::kString, "Hello", 0)).status,
            SessionStatus::kDone);
  ASSERT_EQ(SaveCommands(), WriteAndReadBack({kProfileBlock, kStringBlockFirst}));

  // Same length, same first unit: the key's record stays, only the unit's text changes.
  ASSERT_EQ(session.ApplyKeyEdit(3, TextEdit(KeypadTextKind::kString, "World", 0)).status,
            SessionStatus::kDone);
  EXPECT_EQ(SaveCommands(), WriteAndReadBack({kStringBlockFirst}));
  EXPECT_EQ(ReadChainedString(config.string_unit_table,
                              WorkingRecord(config.working_profile, 3)[kKeyTextLowByte]),
            "World");
}

TEST_F(KeypadSessionTest, SettingAKeyOverAStringKeyFreesItsString) {
  ASSERT_EQ(session.ApplyKeyEdit(3, TextEdit(KeypadTextKind::kString, "Hello", 0)).status,
            SessionStatus::kDone);
  const std::uint8_t unit = WorkingRecord(config.working_profile, 3)[kKeyTextLowByte];
  ASSERT_TRUE(ReadChainedString(config.string_unit_table, unit));

  ASSERT_EQ(session.ApplyKeyEdit(3, KeyEdit{kEnter, std::nullopt}).status, SessionStatus::kDone);
  EXPECT_FALSE(ReadChainedString(config.string_unit_table, unit));

  // A record naming the string a key holds keeps it.
  ASSERT_EQ(session.ApplyKeyEdit(4, TextEdit(KeypadTextKind::kString, "Kept", 0)).status,
            SessionStatus::kDone);
  const KeyActionRecord held = WorkingRecord(config.working_profile, 4);
  ASSERT_EQ(session.ApplyKeyEdit(4, KeyEdit{held, std::nullopt}).status, SessionStatus::kDone);
  EXPECT_EQ(ReadChainedString(config.string_unit_table, held[kKeyTextLowByte]), "Kept");
}

TEST_F(KeypadSessionTest, FullSaveWritesEveryBlock) {
  EXPECT_EQ(SaveCommands(SaveMode::kFull),
            WriteAndReadBack({kProfileBlock, kBurstBlockFirst, kBurstBlockSecond, kStringBlockFirst,
                              kStringBlockSecond}));
  EXPECT_EQ(last_save.blocks_unchanged, Blocks{});
}

// Whatever leaves what the keypad holds in doubt makes the next save write that block whole.
TEST(KeypadSessionUnsureTest, BlocksNotKnownForSureAreWrittenWhole) {
  struct Case {
    const char* what;
    std::function<void(testing::SessionRig&)> event;
    Blocks written;
  };
  const auto session_of = [](testing::SessionRig& f) -> KeypadSession& { return f.session; };
  const std::vector<Case> cases = {
      {"a load that lost a page of the second burst block",
       [&](testing::SessionRig& f) {
         f.FailPage(64 + 64 + 3);
         ASSERT_EQ(session_of(f).Load().status, SessionStatus::kFailedPages);
       },
       {kBurstBlockSecond}},
      {"a save whose block read back other than written",
       [&](testing::SessionRig& f) {
         ASSERT_EQ(session_of(f).Load().status, SessionStatus::kDone);
         ASSERT_EQ(session_of(f).ApplyKeyEdit(0, KeyEdit{kEnter, std::nullopt}).status,
                   SessionStatus::kDone);
         // The prepare is request 1 of the save, the first page request 2.
         f.keypad.AddFault({sim::FaultKind::kFlip, f.keypad.RequestCount() + 2});
         const SaveResult saved = session_of(f).Save();
         ASSERT_EQ(saved.status, SessionStatus::kReadBackDiffers);
         ASSERT_EQ(saved.blocks_differing, Blocks{kProfileBlock});
       },
       {kProfileBlock}},
      {"a save whose block could not be read back",
       [&](testing::SessionRig& f) {
         ASSERT_EQ(session_of(f).Load().status, SessionStatus::kDone);
         ASSERT_EQ(session_of(f).ApplyKeyEdit(0, KeyEdit{kEnter, std::nullopt}).status,
                   SessionStatus::kDone);
         // After the prepare and the 64 pages written, page 5 of the read-back goes unanswered.
         f.FailPage(1 + 64 + 5);
         ASSERT_EQ(session_of(f).Save().status, SessionStatus::kReadBackDiffers);
       },
       {kProfileBlock}},
      {"an unplug and a re-plug",
       [&](testing::SessionRig& f) {
         ASSERT_EQ(session_of(f).Load().status, SessionStatus::kDone);
         session_of(f).Detach();
         ASSERT_EQ(session_of(f).Attach().status, SessionStatus::kDone);
       },
       {kProfileBlock, kBurstBlockFirst, kBurstBlockSecond, kStringBlockFirst, kStringBlockSecond}},
      {"a keypad gone in the middle of a save, plugged in again",
       [&](testing::SessionRig& f) {
         ASSERT_EQ(session_of(f).Load().status, SessionStatus::kDone);
         ASSERT_EQ(session_of(f).ApplyKeyEdit(0, KeyEdit{kEnter, std::nullopt}).status,
                   SessionStatus::kDone);
         f.keypad.AddFault({sim::FaultKind::kGone, f.keypad.RequestCount() + 20});
         ASSERT_EQ(session_of(f).Save().status, SessionStatus::kKeypadGone);
         f.keypad.ClearFaults();
         f.keypad.SetGone(false);
         session_of(f).Detach();
         ASSERT_EQ(session_of(f).Attach().status, SessionStatus::kDone);
       },
       {kProfileBlock, kBurstBlockFirst, kBurstBlockSecond, kStringBlockFirst, kStringBlockSecond}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    testing::SessionRig fixture;
    c.event(fixture);
    if (::testing::Test::HasFatalFailure()) return;
    const std::size_t first = fixture.keypad.Requests().size();
    const SaveResult saved = fixture.session.Save();
    EXPECT_EQ(saved.status, SessionStatus::kDone);
    EXPECT_EQ(saved.blocks_written, c.written);
    // Each block written is read back.
    Commands expected;
    for (const std::uint8_t block : c.written) {
      expected.insert(expected.end(), {{kCmdPrepareBlock, block}, {kCmdWritePage, block}});
    }
    for (const std::uint8_t block : c.written) expected.emplace_back(kCmdReadPage, block);
    EXPECT_EQ(fixture.CommandsSince(first), expected);
  }
}

TEST_F(KeypadSessionTest, ABackupOfAnotherBankIsSavedWholeToItsBlock) {
  config.loaded_backup_type = kBackupProfileBlock27;
  EXPECT_EQ(SaveCommands(), WriteAndReadBack({kProfileBlockAlt27}));
  EXPECT_EQ(last_save.blocks_unchanged, (Blocks{30, 31, 32, 33}));
}

TEST_F(KeypadSessionTest, ProgressIsShownForEachWorkWithItsPages) {
  struct Seen {
    DeviceWork work;
    int total;
    int pages = 0;
  };
  std::vector<Seen> seen;
  class Counter final : public Progress {
   public:
    explicit Counter(int& pages) : pages_(pages) {}
    void PageDone() override { ++pages_; }

   private:
    int& pages_;
  };
  session.SetProgressHandler([&seen](DeviceWork work, int total) -> std::unique_ptr<Progress> {
    seen.push_back({work, total});
    return std::make_unique<Counter>(seen.back().pages);
  });
  ASSERT_EQ(session.ApplyKeyEdit(0, KeyEdit{kEnter, std::nullopt}).status, SessionStatus::kDone);
  ASSERT_EQ(session.Save().status, SessionStatus::kDone);

  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].work, DeviceWork::kSave);
  EXPECT_EQ(seen[0].total, 64);
  EXPECT_EQ(seen[0].pages, 64);
  EXPECT_EQ(seen[1].work, DeviceWork::kCheck);
  EXPECT_EQ(seen[1].pages, 64);
}

TEST_F(KeypadSessionTest, NothingIsSentWithoutAKeypad) {
  session.Detach();
  const std::size_t requests = keypad.Requests().size();
  EXPECT_EQ(session.Load().status, SessionStatus::kNotConnected);
  EXPECT_EQ(session.Save().status, SessionStatus::kNotConnected);
  EXPECT_EQ(session.RestoreFactorySettings(), SessionStatus::kNotConnected);
  EXPECT_EQ(session.Reboot(), SessionStatus::kNotConnected);
  EXPECT_EQ(keypad.Requests().size(), requests);
}

TEST(KeypadSessionsTest, TwoSessionsOnTwoKeypadsKeepToTheirOwn) {
  testing::SessionRig first;
  testing::SessionRig second;
  ASSERT_EQ(first.session.Load().status, SessionStatus::kDone);
  ASSERT_EQ(second.session.Load().status, SessionStatus::kDone);

  ASSERT_EQ(first.session.ApplyKeyEdit(0, KeyEdit{kEnter, std::nullopt}).status,
            SessionStatus::kDone);
  ASSERT_EQ(first.session.Save().status, SessionStatus::kDone);

  const std::size_t slot = kSlotSize * kDefaultKeyCodeMap[0];
  EXPECT_EQ(first.keypad.BlockData(kProfileBlock)[slot + 1], 0x28);
  EXPECT_NE(second.keypad.BlockData(kProfileBlock)[slot + 1], 0x28);
  EXPECT_NE(WorkingRecord(second.session.Config().working_profile, 0), kEnter);
  EXPECT_TRUE(first.session.History().StepCount() == 0 &&
              second.session.History().StepCount() == 0);
  // The second keypad's save has nothing to write.
  const SaveResult saved = second.session.Save();
  EXPECT_EQ(saved.status, SessionStatus::kDone);
  EXPECT_TRUE(saved.blocks_written.empty());
}

}  // namespace
}  // namespace qp40
