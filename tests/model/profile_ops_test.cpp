#include "model/profile_ops.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "link/keypad_link.h"
#include "model/backup_file.h"
#include "model/model_test_support.h"
#include "sim/sim_transport.h"
#include "sim/virtual_keypad.h"

namespace qp40 {
namespace {

using testing::ReadBytes;
using testing::SampleConfiguration;

const std::vector<std::string> kSaveLinesTail = {
    ">> Save Burst Data to Device #30",
    ">> Save Burst Data to Device #31",
    ">> Save String Data to Device #32",
    ">> Save String Data to Device #33",
};

template <std::size_t N>
void CopyToBlocks(sim::VirtualKeypad& keypad, std::uint8_t first_block,
                  const std::array<std::uint8_t, N>& area) {
  for (std::size_t offset = 0; offset < N; offset += kBlockSize) {
    const auto block =
        keypad.BlockData(static_cast<std::uint8_t>(first_block + offset / kBlockSize));
    std::copy_n(area.begin() + offset, kBlockSize, block.begin());
  }
}

ProfileImage BlockOf(const sim::VirtualKeypad& keypad, std::uint8_t block) {
  ProfileImage image{};
  const auto data = keypad.BlockData(block);
  std::copy(data.begin(), data.end(), image.begin());
  return image;
}

class ProfileOpsTest : public ::testing::Test {
 protected:
  ProfileOpsTest() {
    EXPECT_TRUE(link.AttachKeypad());
    env.sink.lines.clear();
  }

  // Puts a configuration whose every byte is distinct enough to trace on the keypad.
  Configuration PutSampleOnKeypad(std::uint8_t firmware) {
    const Configuration sample = SampleConfiguration(firmware, 7);
    CopyToBlocks(keypad, kProfileBlock, sample.profile_image);
    CopyToBlocks(keypad, kBurstBlockFirst, sample.burst_table);
    CopyToBlocks(keypad, kStringBlockFirst, sample.string_unit_table);
    return sample;
  }

  TransferReport Load() { return LoadConfiguration(config, link, env.log, env.refresher); }
  void Select(std::uint8_t profile) { SelectProfile(config, profile, env.refresher); }
  TransferReport Save() { return SaveConfiguration(config, link, env.log); }

  std::vector<std::string> LinesFrom(std::size_t first) const {
    return {env.sink.lines.begin() + static_cast<std::ptrdiff_t>(first), env.sink.lines.end()};
  }

  sim::VirtualKeypad keypad{0xFF};
  sim::SimTransport transport{keypad};
  testing::Surroundings env;
  KeypadLink link{transport, env.log, env.notifier};
  Configuration config;
};

TEST_F(ProfileOpsTest, LoadReadsEveryAreaAndShowsUserProfile1) {
  const Configuration sample = PutSampleOnKeypad(0xFF);
  std::swap(keypad.BlockData(kProfileBlock)[448], keypad.BlockData(kProfileBlock)[449]);
  config.current_profile = 2;

  const TransferReport report = Load();

  EXPECT_EQ(report.failed_pages, 0);
  EXPECT_EQ(config.profile_image, BlockOf(keypad, kProfileBlock));
  EXPECT_EQ(config.burst_table, sample.burst_table);
  EXPECT_EQ(config.string_unit_table, sample.string_unit_table);
  EXPECT_EQ(config.key_code_map[0], 0x3D);
  EXPECT_EQ(config.key_code_map[1], 0x3C);
  for (std::size_t k = 0; k < kGridKeyCount; ++k) {
    ASSERT_EQ(WorkingRecord(config.working_profile, k),
              ReadSlot(config.profile_image, 0, config.key_code_map[k]));
  }
  EXPECT_TRUE(std::equal(config.working_profile.begin() + 192, config.working_profile.begin() + 204,
                         config.profile_image.begin() + 320));
  EXPECT_EQ(config.current_profile, 0);
  EXPECT_EQ(env.refresher.count, 1);
  ASSERT_GE(env.sink.lines.size(), 2u);
  EXPECT_EQ(env.sink.lines[0].rfind("<< DeviceID: ", 0), 0u);
}

TEST_F(ProfileOpsTest, LoadEndsWithTheFirmwareVersionInHex) {
  const std::pair<std::uint8_t, std::string> cases[] = {
      {0x05, ">> Firmware Version: v 5"},
      {0xFF, ">> Firmware Version: vff"},
      {0x1A, ">> Firmware Version: v1a"},
  };
  for (const auto& [firmware, line] : cases) {
    PutSampleOnKeypad(firmware);
    Load();
    EXPECT_EQ(env.sink.lines.back(), line);
  }
}

TEST_F(ProfileOpsTest, EditsInTwoProfilesReachTheKeypadInOneSave) {
  PutSampleOnKeypad(0x05);
  Load();
  const ProfileImage as_read = config.profile_image;
  const KeyActionRecord first = {0x80, 0x04, 0x00, 0x00};
  const KeyActionRecord second = {0x80, 0x05, 0x02, 0x00};

  SetWorkingRecord(config.working_profile, 0, first);  // code 0x3C, User Profile 1
  Select(1);
  SetWorkingRecord(config.working_profile, 1, second);  // code 0x3D, User Profile 2
  BoardSettings(config.working_profile).SetFeature(BoardFeature::kSticky, true);
  const std::size_t lines_before = env.sink.lines.size();
  const TransferReport report = Save();

  ProfileImage expected = as_read;
  WriteSlot(expected, 0, 0x3C, first);
  WriteSlot(expected, 1, 0x3D, second);
  expected[512 + 320 + kSettingSticky] = 3;
  EXPECT_EQ(BlockOf(keypad, kProfileBlock), expected);
  EXPECT_EQ(report.failed_pages, 0);

  std::vector<std::string> lines = {">> Save Profile 1 to Device #28"};
  lines.insert(lines.end(), kSaveLinesTail.begin(), kSaveLinesTail.end());
  EXPECT_EQ(LinesFrom(lines_before), lines);
}

TEST_F(ProfileOpsTest, SelectingTheCurrentProfileRevertsItsEdits) {
  PutSampleOnKeypad(0xFF);
  Load();
  Select(1);
  const KeyActionRecord as_read = WorkingRecord(config.working_profile, 2);
  const KeyActionRecord edited = {0x80, 0x1E, 0x00, 0x00};

  SetWorkingRecord(config.working_profile, 2, edited);
  Select(1);
  EXPECT_EQ(WorkingRecord(config.working_profile, 2), as_read);

  // Leaving the profile keeps its edits.
  SetWorkingRecord(config.working_profile, 2, edited);
  Select(3);
  Select(1);
  EXPECT_EQ(WorkingRecord(config.working_profile, 2), edited);
  EXPECT_EQ(config.current_profile, 1);
  EXPECT_EQ(env.refresher.count, 5);
}

TEST_F(ProfileOpsTest, ProfileSwitchKeySpreadsToAllProfilesOnSaveOnly) {
  PutSampleOnKeypad(0xFF);
  Load();
  const KeyActionRecord profile_switch = {0xBA, 0xEC, 0x01, 0x00};
  Select(1);
  SetWorkingRecord(config.working_profile, 4, profile_switch);  // code 0x26
  Select(2);
  for (std::uint8_t p = 0; p < 4; ++p) {
    EXPECT_EQ(ReadSlot(config.profile_image, p, 0x26) == profile_switch, p == 1);
  }

  // Saved while User Profile 2 is on screen, it reaches every profile.
  Select(1);
  Save();
  const ProfileImage on_keypad = BlockOf(keypad, kProfileBlock);
  for (std::uint8_t p = 0; p < 4; ++p) {
    EXPECT_EQ(ReadSlot(on_keypad, p, 0x26), profile_switch) << "profile " << int{p};
  }
}

TEST_F(ProfileOpsTest, AfterLoadingAnAlternativeBlockBackupTheSaveGoesToThatBlock) {
  const Configuration sample = PutSampleOnKeypad(0xFF);
  Load();
  const ProfileImage block28 = BlockOf(keypad, kProfileBlock);
  testing::TempFolder dir;
  std::vector<std::uint8_t> file = testing::TypeWordBytes(kBackupProfileBlock27);
  const Configuration other = SampleConfiguration(0xFF, 60);
  file.insert(file.end(), other.profile_image.begin(), other.profile_image.end());
  testing::WriteBytes(dir.File("p27.bin"), file);
  ASSERT_EQ(
      LoadBackup(config, dir.File("p27.bin"), env.log, env.notifier, env.refresher).shown_profile,
      4);

  // What "Save Profiles Onboard" does before saving.
  config.profile_block_number = ProfileBlockForBackupType(config.loaded_backup_type);
  const std::size_t lines_before = env.sink.lines.size();
  Save();

  std::vector<std::string> lines = {">> Save Profile 0 to Device #27"};
  lines.insert(lines.end(), kSaveLinesTail.begin(), kSaveLinesTail.end());
  EXPECT_EQ(LinesFrom(lines_before), lines);
  EXPECT_EQ(BlockOf(keypad, kProfileBlockAlt27), other.profile_image);
  EXPECT_EQ(BlockOf(keypad, kProfileBlock), block28);

  // Later loads read that block too, until the onboard block is chosen again.
  config = Configuration{};
  config.profile_block_number = kProfileBlockAlt27;
  Load();
  EXPECT_EQ(config.profile_image, other.profile_image);
  ResetToOnboardProfileBlock(config);
  Load();
  EXPECT_EQ(config.profile_image, sample.profile_image);
}

TEST_F(ProfileOpsTest, FailedPagesAreCountedAndTheLogLinesStillWritten) {
  PutSampleOnKeypad(0x05);
  // Every try of the sixth page of the profile block goes unanswered.
  const std::uint64_t next = keypad.RequestCount() + 1;
  for (std::uint64_t request = next + 5; request < next + 8; ++request) {
    keypad.AddFault({sim::FaultKind::kDrop, request});
  }
  EXPECT_EQ(Load().failed_pages, 1);
  EXPECT_EQ(env.sink.lines.back(), ">> Firmware Version: v 5");

  // A keypad refusing every write: each block fails, and each still gets its line.
  for (std::uint64_t request = keypad.RequestCount() + 1; request < keypad.RequestCount() + 1000;
       ++request) {
    keypad.AddFault({sim::FaultKind::kStatus, request});
  }
  const std::size_t lines_before = env.sink.lines.size();
  const TransferReport refused = Save();
  EXPECT_EQ(refused.failed_pages, 5 * 64);
  EXPECT_FALSE(refused.device_gone);
  const std::vector<std::string> lines = LinesFrom(lines_before);
  EXPECT_NE(std::find(lines.begin(), lines.end(), ">> Save Profile 0 to Device #28"), lines.end());
  EXPECT_EQ(lines.back(), ">> Save String Data to Device #33");
}

TEST_F(ProfileOpsTest, AKeypadThatGoesAwayEndsTheSaveAtItsFirstGoneAnswer) {
  PutSampleOnKeypad(0xFF);
  Load();
  // The profile block (prepare and 64 pages) goes through; the keypad vanishes in the burst
  // block's fourth page.
  const std::uint64_t first = keypad.RequestCount() + 1;
  keypad.AddFault({sim::FaultKind::kGone, first + 65 + 4});
  const std::size_t lines_before = env.sink.lines.size();

  const TransferReport report = Save();

  EXPECT_TRUE(report.device_gone);
  EXPECT_EQ(report.failed_pages, 64 - 3);
  EXPECT_EQ(keypad.RequestCount(), first + 65 + 4);
  EXPECT_EQ(LinesFrom(lines_before),
            (std::vector<std::string>{">> Save Profile 0 to Device #28", ">> Tx ERROR: 1",
                                      "ERROR:WRITE Device "}));
}

TEST_F(ProfileOpsTest, FullBackupOfAKeypadConfigurationSurvivesLoadAndSaveAgain) {
  for (const std::uint8_t firmware : {std::uint8_t{0xFF}, std::uint8_t{0x05}}) {
    sim::VirtualKeypad factory(firmware);
    sim::SimTransport factory_transport(factory);
    KeypadLink factory_link(factory_transport, env.log, env.notifier);
    ASSERT_TRUE(factory_link.AttachKeypad());
    Configuration from_keypad;
    ASSERT_EQ(LoadConfiguration(from_keypad, factory_link, env.log, env.refresher).failed_pages, 0);

    testing::TempFolder dir;
    ASSERT_TRUE(SaveBackup(from_keypad, dir.File("first.bin"), env.notifier));
    Configuration reloaded;
    reloaded.working_profile[192 + kSettingFirmware] = firmware;  // the keypad loaded before
    ASSERT_EQ(LoadBackup(reloaded, dir.File("first.bin"), env.log, env.notifier, env.refresher)
                  .shown_profile,
              0);
    ASSERT_TRUE(SaveBackup(reloaded, dir.File("second.bin"), env.notifier));

    const std::vector<std::uint8_t> first = ReadBytes(dir.File("first.bin"));
    EXPECT_EQ(first.size(), firmware == 0xFF ? 10244u : 6148u);
    EXPECT_EQ(ReadBytes(dir.File("second.bin")), first) << "firmware " << int{firmware};
    EXPECT_EQ(reloaded.profile_image, from_keypad.profile_image);
    EXPECT_EQ(reloaded.working_profile, from_keypad.working_profile);
    EXPECT_EQ(reloaded.key_code_map, from_keypad.key_code_map);
    EXPECT_EQ(reloaded.burst_table, from_keypad.burst_table);
  }
  EXPECT_TRUE(env.notifier.messages.empty());
}

TEST_F(ProfileOpsTest, MapWithoutSlotsNeverReachesOutsideTheImage) {
  // An erased profile block: every map entry reads 0xFF.
  const auto block = keypad.BlockData(kProfileBlock);
  std::fill(block.begin(), block.end(), 0xFF);
  config.working_profile.fill(0x5A);

  Load();
  EXPECT_TRUE(std::all_of(config.key_code_map.begin(), config.key_code_map.end(),
                          [](std::uint8_t code) { return code == 0xFF; }));
  for (std::size_t k = 0; k < kGridKeyCount; ++k) {
    ASSERT_EQ(WorkingRecord(config.working_profile, k), KeyActionRecord{});
  }
  EXPECT_TRUE(std::all_of(config.working_profile.begin() + 204, config.working_profile.end(),
                          [](std::uint8_t byte) { return byte == 0x5A; }));
  EXPECT_NE(std::find(env.sink.lines.begin(), env.sink.lines.end(),
                      ">> Error: 48 keys have no slot in the Key Code Map"),
            env.sink.lines.end());

  const BurstTable burst = config.burst_table;
  const StringUnitTable strings = config.string_unit_table;
  for (std::size_t k = 0; k < kGridKeyCount; ++k) {
    SetWorkingRecord(config.working_profile, k, {0xBA, 0xEC, 0x01, 0x00});
  }
  Select(2);
  Select(2);
  for (std::size_t k = 0; k < kGridKeyCount; ++k) {
    SetWorkingRecord(config.working_profile, k, {0xBA, 0xEC, 0x02, 0x00});
  }
  EXPECT_EQ(Save().failed_pages, 0);

  ProfileImage erased;
  erased.fill(0xFF);
  EXPECT_EQ(config.profile_image, erased);
  EXPECT_EQ(BlockOf(keypad, kProfileBlock), erased);
  EXPECT_EQ(config.burst_table, burst);
  EXPECT_EQ(config.string_unit_table, strings);
  EXPECT_TRUE(std::all_of(config.working_profile.begin() + 204, config.working_profile.end(),
                          [](std::uint8_t byte) { return byte == 0x5A; }));
}

}  // namespace
}  // namespace qp40
