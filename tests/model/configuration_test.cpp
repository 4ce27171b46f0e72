#include "model/configuration.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "model/backup_file.h"
#include "model/model_test_support.h"

namespace qp40 {
namespace {

using testing::SampleConfiguration;

// Offsets in the profile image at which a configuration differs from another.
std::vector<std::size_t> ChangedOffsets(const ProfileImage& before, const ProfileImage& after) {
  std::vector<std::size_t> changed;
  for (std::size_t i = 0; i < before.size(); ++i) {
    if (before[i] != after[i]) {
      changed.push_back(i);
    }
  }
  return changed;
}

std::vector<std::size_t> Range(std::size_t first, std::size_t count) {
  std::vector<std::size_t> offsets;
  for (std::size_t i = 0; i < count; ++i) {
    offsets.push_back(first + i);
  }
  return offsets;
}

TEST(SlotOffsetTest, OnlyProfilesZeroToThreeAndCodesUpTo0x7FHaveASlot) {
  struct Case {
    std::uint8_t profile;
    std::uint8_t key_code;
    std::optional<std::size_t> offset;
  };
  const Case cases[] = {
      {0, 0x3C, 240},  // row 1, column 1 under the default map
      {0, 0x00, 0},
      {1, 0x10, 512 + 64},
      {3, 0x7F, 2044},
      {0, 0x80, std::nullopt},
      {2, 0xFF, std::nullopt},
      {4, 0x00, std::nullopt},
      {0xFF, 0x10, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SlotOffset(c.profile, c.key_code), c.offset)
        << "profile " << int{c.profile} << " code " << int{c.key_code};
  }
}

TEST(SlotAccessTest, KeysWithoutASlotReadAsZeroAndAreNeverWritten) {
  Configuration config = SampleConfiguration(0xFF);
  config.key_code_map[0] = 0x80;
  config.key_code_map[47] = 0xFF;
  FillWorkingCopy(config, 1);

  EXPECT_EQ(WorkingRecord(config.working_profile, 0), KeyActionRecord{});
  EXPECT_EQ(WorkingRecord(config.working_profile, 47), KeyActionRecord{});
  EXPECT_EQ(WorkingRecord(config.working_profile, 1), ReadSlot(config.profile_image, 1, 0x3D));
  EXPECT_EQ(KeysWithoutSlot(config.key_code_map), 2u);

  // Edits to the slotless keys, even a profile switch key, go nowhere; the rest goes home.
  const ProfileImage before = config.profile_image;
  config.current_profile = 1;
  SetWorkingRecord(config.working_profile, 0, {0x81, 0x04, 0, 0});
  SetWorkingRecord(config.working_profile, 47, {kActionTool, kProfileSwitchTool, 0, 0});
  MergeWorkingCopy(config, ProfileSwitchCopy::kAllProfiles);
  EXPECT_EQ(config.profile_image, before);
}

TEST(SlotAccessTest, WorkingRecordsBeyondTheGridAreIgnored) {
  WorkingProfile working{};
  working.fill(0x5A);
  const WorkingProfile before = working;
  SetWorkingRecord(working, kGridKeyCount, {1, 2, 3, 4});
  EXPECT_EQ(working, before);
  EXPECT_EQ(WorkingRecord(working, kGridKeyCount), KeyActionRecord{});
}

TEST(MergeWorkingCopyTest, ChangesOnlyTheMappedSlotAndTheSettingsOfTheCurrentProfile) {
  Configuration config = SampleConfiguration(0x05);
  config.current_profile = 2;
  FillWorkingCopy(config, 2);
  const ProfileImage before = config.profile_image;

  // Every byte of the new record and of the board type differs from what the image holds.
  KeyActionRecord record = WorkingRecord(config.working_profile, 3);  // code 0x3F
  for (std::uint8_t& byte : record) {
    byte = static_cast<std::uint8_t>(~byte);
  }
  SetWorkingRecord(config.working_profile, 3, record);
  BoardSettings settings(config.working_profile);
  settings.SetBoardType(static_cast<std::uint8_t>(~settings.BoardType()));
  MergeWorkingCopy(config, ProfileSwitchCopy::kCurrentProfileOnly);

  std::vector<std::size_t> expected = Range(2 * 512 + 4 * 0x3F, 4);
  expected.push_back(2 * 512 + kSettingsOffset + kSettingBoardType);
  EXPECT_EQ(ChangedOffsets(before, config.profile_image), expected);
}

TEST(MergeWorkingCopyTest, ProfileSwitchKeySpreadsToAllProfilesOnlyWhenSaving) {
  struct Case {
    ProfileSwitchCopy copy;
    std::vector<std::uint8_t> profiles_holding_it;
  };
  const Case cases[] = {
      {ProfileSwitchCopy::kCurrentProfileOnly, {1}},
      {ProfileSwitchCopy::kAllProfiles, {0, 1, 2, 3}},
  };
  const KeyActionRecord profile_switch = {kActionTool, kProfileSwitchTool, 0x02, 0x00};
  const KeyActionRecord tools_other = {kActionTool, 0xED, 0x00, 0x00};
  for (const Case& c : cases) {
    Configuration config = SampleConfiguration(0xFF);
    config.current_profile = 1;
    FillWorkingCopy(config, 1);
    SetWorkingRecord(config.working_profile, 9, profile_switch);  // code 0x1D
    SetWorkingRecord(config.working_profile, 10, tools_other);    // code 0x1E
    MergeWorkingCopy(config, c.copy);

    for (std::uint8_t p = 0; p < kProfileCount; ++p) {
      const bool expected =
          std::count(c.profiles_holding_it.begin(), c.profiles_holding_it.end(), p) != 0;
      EXPECT_EQ(ReadSlot(config.profile_image, p, 0x1D) == profile_switch, expected)
          << "profile " << int{p};
      EXPECT_EQ(ReadSlot(config.profile_image, p, 0x1E) == tools_other, p == 1)
          << "profile " << int{p};
    }
  }
}

TEST(BoardSettingsTest, FeaturesReadAnyNonZeroAsOnAndWriteTheirOwnOnValue) {
  struct Case {
    BoardFeature feature;
    std::size_t byte;
    std::uint8_t on_value;
  };
  const Case cases[] = {
      {BoardFeature::kTyping, 192 + 3, 4},
      {BoardFeature::kBacklight, 192 + 4, 2},
      {BoardFeature::kSticky, 192 + 5, 3},
  };
  for (const Case& c : cases) {
    WorkingProfile working{};
    BoardSettings settings(working);
    EXPECT_FALSE(settings.FeatureOn(c.feature));
    working[c.byte] = 1;  // an on-value the tool never writes
    EXPECT_TRUE(settings.FeatureOn(c.feature));
    settings.SetFeature(c.feature, true);
    EXPECT_EQ(working[c.byte], c.on_value);
    settings.SetFeature(c.feature, false);
    EXPECT_EQ(working[c.byte], 0);

    WorkingProfile only_that_byte{};
    only_that_byte[c.byte] = working[c.byte];
    EXPECT_EQ(working, only_that_byte);
  }
}

TEST(BoardSettingsTest, TypesAndFirmwareAreBytesOfTheWorkingCopySettings) {
  WorkingProfile working{};
  working[192 + 7] = 0xFF;
  BoardSettings settings(working);
  settings.SetBoardType(0x42);
  settings.SetPathType(2);
  settings.SetUsbType(1);

  EXPECT_EQ(working[192], 0x42);
  EXPECT_EQ(working[193], 2);
  EXPECT_EQ(working[194], 1);
  const BoardSettingsReader reader(working);
  EXPECT_EQ(reader.BoardType(), 0x42);
  EXPECT_EQ(reader.PathType(), 2);
  EXPECT_EQ(reader.UsbType(), 1);
  EXPECT_EQ(reader.FirmwareVersion(), 0xFF);
  EXPECT_TRUE(reader.HasNewStrings());
  working[192 + 7] = 0x05;
  EXPECT_FALSE(reader.HasNewStrings());
}

TEST(ProfileBlockTest, OnlyTheTwoAlternativeBackupTypesMoveTheSave) {
  const std::pair<std::uint32_t, std::uint8_t> cases[] = {
      {kBackupProfileBlock27, 0x1B},
      {kBackupProfileBlock26, 0x1A},
      {kBackupFull, 0x1C},
      {kBackupProfileImage, 0x1C},
      {kBackupWorkingProfile, 0x1C},
      {0x08161008, 0x1C},
      {0, 0x1C},
  };
  for (const auto& [type_word, block] : cases) {
    EXPECT_EQ(ProfileBlockForBackupType(type_word), block) << std::hex << type_word;
  }
}

}  // namespace
}  // namespace qp40
