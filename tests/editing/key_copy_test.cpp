#include "editing/key_copy.h"

#include <gtest/gtest.h>

#include "editing/unsaved_edits.h"
#include "macros/burst_store.h"
#include "macros/macro_test_support.h"
#include "macros/string_store.h"

namespace qp40 {
namespace {

// Copying keys within a configuration on the virtual keypad (chained strings), whose text tables
// start free.
class KeyCopyTest : public testing::KeypadFixture {
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
    const std::uint8_t unit = *StoreString(config, link, text, env.log, env.notifier);
    return {kActionString, 0, PaceValue(text.size()), unit};
  }
};

TEST_F(KeyCopyTest, PastedBurstAndStringKeysGetTheirOwnTexts) {
  SetKey(0, BurstKey("hello"));
  SetKey(1, StringKey("a string of some length"));

  ASSERT_TRUE(PasteKey(config, link, 10, CopyKey(config, link, 0), env.log, env.notifier));
  ASSERT_TRUE(PasteKey(config, link, 11, CopyKey(config, link, 1), env.log, env.notifier));

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

  ASSERT_TRUE(PasteKey(config, link, 5, CopyKey(config, link, 0), env.log, env.notifier));
  ASSERT_TRUE(PasteKey(config, link, 6, CopyKey(config, link, 0), env.log, env.notifier));

  EXPECT_EQ(Key(5), (KeyActionRecord{kActionKey, 0x04, 0, 0}));
  EXPECT_EQ(config.burst_table[old_burst[3] * kTextEntrySize], kFreeBurstEntry);
  EXPECT_FALSE(ReadChainedString(config.string_unit_table, old_string[3]));
}

TEST_F(KeyCopyTest, AFullBurstTableRefusesThePasteAndChangesNothing) {
  SetKey(0, BurstKey("hello"));
  const CopiedKey copied = CopyKey(config, link, 0);
  while (AllocateBurstEntry(config.burst_table)) {
    WriteBurstText(config.burst_table, *AllocateBurstEntry(config.burst_table), "x");
  }
  const Configuration before = config;

  EXPECT_FALSE(PasteKey(config, link, 3, copied, env.log, env.notifier));
  EXPECT_EQ(config, before);
  EXPECT_EQ(env.notifier.messages.size(), 1u);
}

TEST_F(KeyCopyTest, CopyProfileCopiesRecordsSettingsAndTextsIntoTheOtherProfileOnly) {
  SetKey(0, BurstKey("burst"));
  SetKey(47, {kActionKey, 0x28, 0, 0});
  config.working_profile[kWorkingSettingsOffset + kSettingBoardType] = 0x2E;
  const ProfileView profile_4_before = ReadProfile(config, 3);

  ASSERT_TRUE(CopyShownProfile(config, link, 2, env.log, env.notifier));

  const ProfileView copy = ReadProfile(config, 2);
  EXPECT_EQ(copy.records[47], Key(47));
  EXPECT_EQ(copy.settings[kSettingBoardType], 0x2E);
  ASSERT_EQ(copy.records[0][0], kActionBurst);
  EXPECT_NE(copy.records[0][3], Key(0)[3]);
  EXPECT_EQ(ReadBurstText(config.burst_table, copy.records[0][3]), "burst");
  EXPECT_EQ(ReadProfile(config, 3), profile_4_before);

  // The profile on screen, or one that does not exist, is refused.
  const Configuration before = config;
  EXPECT_FALSE(CopyShownProfile(config, link, config.current_profile, env.log, env.notifier));
  EXPECT_FALSE(CopyShownProfile(config, link, 4, env.log, env.notifier));
  EXPECT_EQ(config, before);
}

TEST(KeypadCopyTest, EditsAreUnsavedUntilTheKeypadHoldsThemOrTheyAreTakenBack) {
  Configuration config;
  KeypadCopy keypad;
  keypad.Set(config);
  EXPECT_FALSE(keypad.HasUnsavedEdits(config));

  const KeyActionRecord old_record = WorkingRecord(config.working_profile, 3);
  SetWorkingRecord(config.working_profile, 3, {kActionKey, 0x28, 0, 0});
  EXPECT_TRUE(keypad.HasUnsavedEdits(config));
  EXPECT_EQ(keypad.ProfilesWithEdits(config), (std::array<bool, 4>{true, false, false, false}));

  // Switching profiles moves the edit into the image; it is still unsaved, in profile 1.
  MergeWorkingCopy(config, ProfileSwitchCopy::kCurrentProfileOnly);
  config.current_profile = 1;
  FillWorkingCopy(config, 1);
  EXPECT_TRUE(keypad.HasUnsavedEdits(config));
  EXPECT_EQ(keypad.ProfilesWithEdits(config), (std::array<bool, 4>{true, false, false, false}));

  // Typed back as it was: nothing is unsaved.
  WriteSlot(config.profile_image, 0, config.key_code_map[3], old_record);
  EXPECT_FALSE(keypad.HasUnsavedEdits(config));

  config.string_unit_table[20] = 0xAA;
  EXPECT_TRUE(keypad.HasUnsavedEdits(config));
  keypad.Set(config);
  EXPECT_FALSE(keypad.HasUnsavedEdits(config));
}

}  // namespace
}  // namespace qp40
