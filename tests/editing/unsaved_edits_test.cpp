#include "editing/unsaved_edits.h"

#include <gtest/gtest.h>

namespace qp40 {
namespace {

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

// Which blocks a save has to write: those the edits changed, and those not known for sure.
TEST(KeypadCopyTest, BlocksToWriteAreTheChangedAndTheUnknownOnes) {
  Configuration config;
  config.burst_table.fill(0xFF);
  KeypadCopy keypad;
  // Nothing is known before the keypad was read.
  EXPECT_EQ(keypad.BlocksToWrite(config), kAllConfigBlocks);
  keypad.Set(config);
  EXPECT_EQ(keypad.BlocksToWrite(config), kNoConfigBlocks);

  // A key edit changes the profile block only; a text in the second half of the string table
  // changes that block only.
  SetWorkingRecord(config.working_profile, 0, {kActionKey, 0x28, 0, 0});
  config.string_unit_table[kBlockSize + 5] = 0x41;
  EXPECT_EQ(keypad.BlocksToWrite(config), (BlockSelection{true, false, false, false, true}));

  // Read back as written: the keypad holds them.
  keypad.Holds(config, kProfilePart);
  keypad.Holds(config, 4);
  EXPECT_EQ(keypad.BlocksToWrite(config), kNoConfigBlocks);
  EXPECT_FALSE(keypad.HasUnsavedEdits(config));

  // A block not known for sure is written whole, edits or not.
  keypad.Forget(1);
  EXPECT_EQ(keypad.BlocksToWrite(config), (BlockSelection{false, true, false, false, false}));
  keypad.Set(config, {false, false, true, false, false});
  EXPECT_EQ(keypad.BlocksToWrite(config), (BlockSelection{false, false, true, false, false}));
  keypad.ForgetAll();
  EXPECT_EQ(keypad.BlocksToWrite(config), kAllConfigBlocks);

  // The keypad's bytes in block 0x1C say nothing of block 0x1B.
  keypad.Set(config);
  config.profile_block_number = kProfileBlockAlt27;
  EXPECT_EQ(keypad.BlocksToWrite(config), (BlockSelection{true, false, false, false, false}));
  EXPECT_FALSE(keypad.HasUnsavedEdits(config));
}

}  // namespace
}  // namespace qp40
