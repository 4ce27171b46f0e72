// The read-only view of a profile: what `dump` and `show --profile N` print, read without
// choosing the profile.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "model/configuration.h"
#include "model/model_test_support.h"
#include "model/profile_ops.h"

namespace qp40 {
namespace {

using testing::SameConfiguration;
using testing::SampleConfiguration;

// The record at the slot of `key_code` in `profile`, read from the raw bytes of the image.
KeyActionRecord RawSlot(const ProfileImage& image, std::size_t profile, std::uint8_t key_code) {
  const std::size_t offset = profile * 512 + 4 * std::size_t{key_code};
  return {image[offset], image[offset + 1], image[offset + 2], image[offset + 3]};
}

// The sample's profiles repeat each other byte for byte (512 * 7 is a multiple of 256); this
// makes every byte of profile p differ from the same byte of the others, the map in force kept.
Configuration DistinctProfiles(std::uint8_t seed = 1) {
  Configuration config = SampleConfiguration(0x05, seed);
  for (std::size_t i = 0; i < config.profile_image.size(); ++i) {
    config.profile_image[i] = static_cast<std::uint8_t>(config.profile_image[i] + 37 * (i / 512));
  }
  FillWorkingCopy(config, 0);
  return config;
}

TEST(ProfileViewTest, EachProfileReadsItsOwnSlotsThroughTheMapAndItsOwnSettings) {
  Configuration config = DistinctProfiles();
  // A map that differs from the default and from the map stored in the image: the view reads
  // through the map in force.
  std::reverse(config.key_code_map.begin(), config.key_code_map.end());
  for (std::uint8_t p = 0; p < kProfileCount; ++p) {
    config.profile_image[p * 512 + 320 + kSettingBoardType] = static_cast<std::uint8_t>(0x40 + p);
  }
  const Configuration before = config;

  for (std::uint8_t p = 0; p < kProfileCount; ++p) {
    SCOPED_TRACE(::testing::Message() << "profile " << int{p});
    const ProfileView view = ReadProfile(config, p);
    for (std::size_t k = 0; k < kGridKeyCount; ++k) {
      ASSERT_EQ(view.records[k], RawSlot(config.profile_image, p, config.key_code_map[k]))
          << "key " << k;
    }
    EXPECT_TRUE(std::equal(view.settings.begin(), view.settings.end(),
                           config.profile_image.begin() + p * 512 + 320));
    EXPECT_EQ(BoardSettingsReader(view.settings).BoardType(), 0x40 + p);
  }
  // The profiles differ in every record, so a view of the wrong profile could not pass above.
  for (std::uint8_t p = 1; p < kProfileCount; ++p) {
    for (std::size_t k = 0; k < kGridKeyCount; ++k) {
      ASSERT_NE(ReadProfile(config, 0).records[k], ReadProfile(config, p).records[k]);
    }
  }
  EXPECT_TRUE(SameConfiguration(config, before));
}

TEST(ProfileViewTest, MapEntriesAbove0x7FGiveZeroRecordsAndTheOtherKeysStay) {
  Configuration config = SampleConfiguration(0x05);
  std::fill(config.profile_image.begin(), config.profile_image.end(), 0xFF);
  config.key_code_map[0] = 0x80;
  config.key_code_map[20] = 0xC3;
  config.key_code_map[47] = 0xFF;
  config.key_code_map[1] = 0x7F;  // the last code with a slot

  for (std::uint8_t p = 0; p < kProfileCount; ++p) {
    const ProfileView view = ReadProfile(config, p);
    for (std::size_t k = 0; k < kGridKeyCount; ++k) {
      const bool slotless = k == 0 || k == 20 || k == 47;
      const KeyActionRecord expected =
          slotless ? KeyActionRecord{} : KeyActionRecord{0xFF, 0xFF, 0xFF, 0xFF};
      EXPECT_EQ(view.records[k], expected) << "profile " << int{p} << " key " << k;
    }
  }
}

TEST(ProfileViewTest, ProfileOutsideZeroToThreeGivesAnEmptyViewAndChangesNothing) {
  Configuration config = SampleConfiguration(0xFF);
  std::fill(config.profile_image.begin(), config.profile_image.end(), 0xAB);
  const Configuration before = config;
  for (const std::uint8_t profile : {std::uint8_t{4}, std::uint8_t{5}, std::uint8_t{0xFF}}) {
    EXPECT_EQ(ReadProfile(config, profile), ProfileView{}) << int{profile};
    EXPECT_EQ(ViewProfile(config, profile), ProfileView{}) << int{profile};
  }
  EXPECT_TRUE(SameConfiguration(config, before));
}

TEST(ProfileViewTest, WorkingProfileViewHoldsItsRecordsAndSettingsOnly) {
  WorkingProfile working{};
  for (std::size_t i = 0; i < working.size(); ++i) {
    working[i] = static_cast<std::uint8_t>(i);
  }
  const ProfileView view = ReadWorkingProfile(working);
  EXPECT_EQ(view.records[0], (KeyActionRecord{0, 1, 2, 3}));
  EXPECT_EQ(view.records[47], (KeyActionRecord{188, 189, 190, 191}));
  EXPECT_EQ(view.settings[0], 192);
  EXPECT_EQ(view.settings[11], 203);
}

TEST(ProfileViewTest, FillingTheWorkingCopyBringsInExactlyTheView) {
  for (std::uint8_t p = 0; p < kProfileCount; ++p) {
    Configuration config = DistinctProfiles(static_cast<std::uint8_t>(10 * p));
    config.key_code_map[5] = 0x90;
    FillWorkingCopy(config, p);
    EXPECT_EQ(ReadWorkingProfile(config.working_profile), ReadProfile(config, p))
        << "profile " << int{p};
  }
}

// `show --profile N` and `dump` printed the working copy after SelectProfile; the view must
// show the same for every other profile, and the unsaved edits for the current one (which
// choosing again would revert).
TEST(ProfileViewTest, ViewShowsWhatChoosingTheProfileShowedWithoutChangingAnything) {
  testing::CountingRefresher refresher;
  for (std::uint8_t current = 0; current < kProfileCount; ++current) {
    Configuration config = DistinctProfiles();
    config.key_code_map[7] = 0xA0;
    config.current_profile = current;
    FillWorkingCopy(config, current);
    // An edit not yet merged into the image.
    SetWorkingRecord(config.working_profile, 3, {0x80, 0x1E, 0x00, 0x00});
    BoardSettings(config.working_profile).SetUsbType(0x09);
    const Configuration before = config;

    for (std::uint8_t p = 0; p < kProfileCount; ++p) {
      SCOPED_TRACE(::testing::Message() << "current " << int{current} << ", shown " << int{p});
      const ProfileView view = ViewProfile(config, p);
      EXPECT_TRUE(SameConfiguration(config, before));
      if (p == current) {
        EXPECT_EQ(view, ReadWorkingProfile(config.working_profile));
        EXPECT_EQ(view.records[3], (KeyActionRecord{0x80, 0x1E, 0x00, 0x00}));
        EXPECT_EQ(BoardSettingsReader(view.settings).UsbType(), 0x09);
        continue;
      }
      Configuration chosen = config;
      SelectProfile(chosen, p, refresher);
      EXPECT_EQ(view, ReadWorkingProfile(chosen.working_profile));
    }
  }
}

}  // namespace
}  // namespace qp40
