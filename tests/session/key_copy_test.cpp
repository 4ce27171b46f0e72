#include <gtest/gtest.h>

#include "macros/burst_store.h"
#include "macros/string_store.h"
#include "session/session_fixture.h"

namespace qp40 {
namespace {

// Copying keys within a configuration on the virtual keypad (chained strings), whose text tables
// start free.
class KeyCopyTest : public testing::SessionFixture {
 protected:
  KeyCopyTest() {
    config.burst_table.fill(kFreeBurstEntry);
    config.string_unit_table.fill(0);
  }

  void SetKey(std::size_t position, const KeyActionRecord& record) {
    SetWorkingRecord(config.working_profile, position, record);
  }
  KeyActionRecord Key(std::size_t position) const {
    return WorkingRecord(config.working_profile, position);
  }
  KeyActionRecord BurstKey(std::string_view text) {
    const std::uint8_t entry =
        *ReplaceBurstText(config.burst_table, kNoBurstEntry, text, env.log, env.notifier);
    return {kActionBurst, 0, 0, entry};
  }
  KeyActionRecord StringKey(std::string_view text) {
    const std::uint8_t unit = *StoreString(config, spare_link, text, env.log, env.notifier);
    return {kActionString, 0, PaceValue(text.size()), unit};
  }
};

TEST_F(KeyCopyTest, PastedBurstAndStringKeysGetTheirOwnTexts) {
  SetKey(0, BurstKey("hello"));
  SetKey(1, StringKey("a string of some length"));

  ASSERT_TRUE(session.PasteKey(10, session.CopyKey(0)));
  ASSERT_TRUE(session.PasteKey(11, session.CopyKey(1)));

  EXPECT_NE(Key(10)[3], Key(0)[3]);
  EXPECT_EQ(ReadBurstText(config.burst_table, Key(10)[3]), "hello");
  EXPECT_NE(Key(11)[3], Key(1)[3]);
  EXPECT_EQ(ReadChainedString(config.string_unit_table, Key(11)[3]), "a string of some length");

  // Freeing the first key's texts leaves the copies whole.
  FreeBurstEntry(config.burst_table, Key(0)[3]);
  FreeString(config.string_unit_table, Key(1)[3], env.log);
  EXPECT_EQ(ReadBurstText(config.burst_table, Key(10)[3]), "hello");
  EXPECT_EQ(ReadChainedString(config.string_unit_table, Key(11)[3]), "a string of some length");
}

TEST_F(KeyCopyTest, PasteFreesTheTextOfTheKeyItReplaces) {
  SetKey(0, {kActionKey, 0x04, 0, 0});
  const KeyActionRecord old_burst = BurstKey("old");
  SetKey(5, old_burst);
  const KeyActionRecord old_string = StringKey("old string");
  SetKey(6, old_string);

  ASSERT_TRUE(session.PasteKey(5, session.CopyKey(0)));
  ASSERT_TRUE(session.PasteKey(6, session.CopyKey(0)));

  EXPECT_EQ(Key(5), (KeyActionRecord{kActionKey, 0x04, 0, 0}));
  EXPECT_EQ(config.burst_table[old_burst[3] * kTextEntrySize], kFreeBurstEntry);
  EXPECT_FALSE(ReadChainedString(config.string_unit_table, old_string[3]));
}

TEST_F(KeyCopyTest, AFullBurstTableRefusesThePasteAndChangesNothing) {
  SetKey(0, BurstKey("hello"));
  const CopiedKey copied = session.CopyKey(0);
  while (AllocateBurstEntry(config.burst_table)) {
    WriteBurstText(config.burst_table, *AllocateBurstEntry(config.burst_table), "x");
  }
  const Configuration before = config;

  EXPECT_FALSE(session.PasteKey(3, copied));
  EXPECT_EQ(config, before);
  EXPECT_EQ(env.notifier.messages.size(), 1u);
}

TEST_F(KeyCopyTest, CopyProfileCopiesRecordsSettingsAndTextsIntoTheOtherProfileOnly) {
  SetKey(0, BurstKey("burst"));
  SetKey(47, {kActionKey, 0x28, 0, 0});
  config.working_profile[kWorkingSettingsOffset + kSettingBoardType] = 0x2E;
  const ProfileView profile_4_before = ReadProfile(config, 3);

  ASSERT_TRUE(session.CopyShownProfile(2));

  const ProfileView copy = ReadProfile(config, 2);
  EXPECT_EQ(copy.records[47], Key(47));
  EXPECT_EQ(copy.settings[kSettingBoardType], 0x2E);
  ASSERT_EQ(copy.records[0][0], kActionBurst);
  EXPECT_NE(copy.records[0][3], Key(0)[3]);
  EXPECT_EQ(ReadBurstText(config.burst_table, copy.records[0][3]), "burst");
  EXPECT_EQ(ReadProfile(config, 3), profile_4_before);

  // The profile on screen, or one that does not exist, is refused.
  const Configuration before = config;
  EXPECT_FALSE(session.CopyShownProfile(config.current_profile));
  EXPECT_FALSE(session.CopyShownProfile(4));
  EXPECT_EQ(config, before);
}

}  // namespace
}  // namespace qp40
