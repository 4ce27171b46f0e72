#include "model/backup_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "model/model_test_support.h"
#include "support/file_rights.h"
#include "support/file_size_limit.h"

namespace qp40 {
namespace {

namespace fs = std::filesystem;
using testing::FileSizeLimit;
using testing::ReadBytes;
using testing::SameConfiguration;
using testing::SampleConfiguration;
using testing::TypeWordBytes;
using testing::TypeWordFile;
using testing::WriteBytes;

constexpr const char* kCantOpen = "ERROR:Can't open file";
constexpr const char* kWrongType = "Error: Wrong File Type !";

std::vector<std::uint8_t> Concat(std::vector<std::uint8_t> bytes,
                                 std::span<const std::uint8_t> more) {
  bytes.insert(bytes.end(), more.begin(), more.end());
  return bytes;
}

std::vector<std::uint8_t> Slice(const std::vector<std::uint8_t>& bytes, std::size_t offset,
                                std::size_t count) {
  return {bytes.begin() + offset, bytes.begin() + offset + count};
}

template <std::size_t N>
std::vector<std::uint8_t> Bytes(const std::array<std::uint8_t, N>& area) {
  return {area.begin(), area.end()};
}

std::vector<std::string> FilesIn(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

class BackupFileTest : public ::testing::Test {
 protected:
  int Load(Configuration& config, const std::string& path) {
    return LoadBackup(config, path, env.log, env.notifier, env.refresher).shown_profile;
  }
  BackupLoadResult LoadWith(Configuration& config, const std::string& path,
                            StringTableRule strings) {
    return LoadBackup(config, path, env.log, env.notifier, env.refresher, strings);
  }

  testing::TempFolder dir;
  testing::Surroundings env;
};

TEST_F(BackupFileTest, FullBackupCarriesTheStringTableOnlyForFirmwareFF) {
  const std::pair<std::uint8_t, std::size_t> cases[] = {{0xFF, 10244}, {0x05, 6148}, {0x00, 6148}};
  for (const auto& [firmware, size] : cases) {
    Configuration config = SampleConfiguration(firmware);
    const std::string path = dir.File("full.bin");
    ASSERT_TRUE(SaveBackup(config, path, env.notifier));

    const std::vector<std::uint8_t> file = ReadBytes(path);
    ASSERT_EQ(file.size(), size) << "firmware " << int{firmware};
    EXPECT_EQ(Slice(file, 0, 4), (std::vector<std::uint8_t>{0x05, 0x10, 0x16, 0x08}));
    EXPECT_EQ(Slice(file, 4, 2048), Bytes(config.profile_image));
    EXPECT_EQ(Slice(file, 2052, 4096), Bytes(config.burst_table));
    if (size == 10244) {
      EXPECT_EQ(Slice(file, 6148, 4096), Bytes(config.string_unit_table));
    }
  }
  EXPECT_TRUE(env.notifier.messages.empty());
  EXPECT_TRUE(env.sink.lines.empty());
}

TEST_F(BackupFileTest, SaveMergesTheWorkingCopyAndSpreadsTheProfileSwitchKey) {
  Configuration config = SampleConfiguration(0x05);
  config.current_profile = 2;
  FillWorkingCopy(config, 2);
  const KeyActionRecord profile_switch = {0xBA, 0xEC, 0x03, 0x00};
  const KeyActionRecord letter = {0x81, 0x04, 0x00, 0x00};
  SetWorkingRecord(config.working_profile, 5, profile_switch);  // code 0x27
  SetWorkingRecord(config.working_profile, 6, letter);          // code 0x28
  BoardSettings(config.working_profile).SetUsbType(1);
  const ProfileImage before = config.profile_image;

  const std::string path = dir.File("merged.bin");
  ASSERT_TRUE(SaveBackup(config, path, env.notifier));

  const std::vector<std::uint8_t> file = ReadBytes(path);
  ProfileImage saved{};
  std::copy_n(file.begin() + 4, saved.size(), saved.begin());
  EXPECT_EQ(saved, config.profile_image);  // the merge stays done in memory
  for (std::uint8_t p = 0; p < 4; ++p) {
    EXPECT_EQ(ReadSlot(saved, p, 0x27), profile_switch) << "profile " << int{p};
    EXPECT_EQ(ReadSlot(saved, p, 0x28), p == 2 ? letter : ReadSlot(before, p, 0x28));
  }
  EXPECT_EQ(saved[2 * 512 + 320 + 2], 1);
}

TEST_F(BackupFileTest, RoundTripRestoresTheConfigurationAndSavesAgainByteForByte) {
  for (const std::uint8_t firmware : {std::uint8_t{0xFF}, std::uint8_t{0x05}}) {
    Configuration original = SampleConfiguration(firmware);
    // A map of profile 0 that differs from the default, to show the map comes from the file.
    std::swap(original.profile_image[448], original.profile_image[449]);
    original.current_profile = 3;
    FillWorkingCopy(original, 3);
    const std::string first = dir.File("first.bin");
    ASSERT_TRUE(SaveBackup(original, first, env.notifier));

    Configuration loaded = SampleConfiguration(firmware, 99);
    loaded.current_profile = 2;
    const StringUnitTable strings_before = loaded.string_unit_table;
    env.refresher.count = 0;
    ASSERT_EQ(Load(loaded, first), 0);

    EXPECT_EQ(loaded.profile_image, original.profile_image);
    EXPECT_EQ(loaded.burst_table, original.burst_table);
    EXPECT_EQ(loaded.string_unit_table,
              firmware == 0xFF ? original.string_unit_table : strings_before);
    EXPECT_EQ(loaded.key_code_map[0], 0x3D);
    EXPECT_EQ(loaded.key_code_map[1], 0x3C);
    for (std::size_t k = 0; k < kGridKeyCount; ++k) {
      ASSERT_EQ(WorkingRecord(loaded.working_profile, k),
                ReadSlot(original.profile_image, 0, loaded.key_code_map[k]));
    }
    EXPECT_TRUE(std::equal(loaded.working_profile.begin() + 192,
                           loaded.working_profile.begin() + 204,
                           original.profile_image.begin() + 320));
    EXPECT_EQ(loaded.current_profile, 0);
    EXPECT_EQ(loaded.loaded_backup_type, kBackupFull);
    EXPECT_EQ(env.refresher.count, 1);
    EXPECT_EQ(env.sink.lines.back(), ">> Open File, " + first);

    const std::string second = dir.File("second.bin");
    ASSERT_TRUE(SaveBackup(loaded, second, env.notifier));
    EXPECT_EQ(ReadBytes(second), ReadBytes(first)) << "firmware " << int{firmware};
  }
  EXPECT_TRUE(env.notifier.messages.empty());
}

TEST_F(BackupFileTest, EveryTypeWordLoadsItsAreaAndPicksTheBlockOfLaterSaves) {
  struct Case {
    std::uint32_t type_word;
    int result;
    std::uint8_t save_block;
  };
  const Case cases[] = {
      {kBackupFull, 0, 0x1C},           {kBackupProfileImage, 0, 0x1C},
      {kBackupProfileBlock27, 4, 0x1B}, {kBackupProfileBlock26, 8, 0x1A},
      {kBackupWorkingProfile, 0, 0x1C},
  };
  const Configuration source = SampleConfiguration(0x05, 50);
  for (const Case& c : cases) {
    std::vector<std::uint8_t> file = TypeWordBytes(c.type_word);
    if (c.type_word == kBackupWorkingProfile) {
      file = Concat(file, source.working_profile);  // 260 bytes
    } else {
      file = Concat(file, source.profile_image);
      if (c.type_word == kBackupFull) {
        file = Concat(file, source.burst_table);
      }
    }
    const std::string path = dir.File("typed.bin");
    WriteBytes(path, file);

    Configuration config = SampleConfiguration(0x05, 1);
    config.current_profile = 1;
    FillWorkingCopy(config, 1);
    const Configuration before = config;
    env.refresher.count = 0;

    SCOPED_TRACE(::testing::Message() << std::hex << c.type_word);
    EXPECT_EQ(Load(config, path), c.result);
    EXPECT_EQ(config.loaded_backup_type, c.type_word);
    EXPECT_EQ(ProfileBlockForBackupType(config.loaded_backup_type), c.save_block);
    EXPECT_EQ(env.refresher.count, 1);
    if (c.type_word == kBackupWorkingProfile) {
      // Records and settings replaced; the image, map and profile stay for the next merge.
      EXPECT_EQ(config.working_profile, source.working_profile);
      EXPECT_EQ(config.profile_image, before.profile_image);
      EXPECT_EQ(config.current_profile, 1);
    } else {
      EXPECT_EQ(config.profile_image, source.profile_image);
      EXPECT_EQ(WorkingRecord(config.working_profile, 0), ReadSlot(source.profile_image, 0, 0x3C));
      EXPECT_EQ(config.current_profile, 0);
      EXPECT_EQ(config.burst_table,
                c.type_word == kBackupFull ? source.burst_table : before.burst_table);
    }
    EXPECT_EQ(config.string_unit_table, before.string_unit_table);
  }
  EXPECT_TRUE(env.notifier.messages.empty());
}

TEST_F(BackupFileTest, StringTableIsReadByTheFirmwareInMemoryAndOnlyWhenWhole) {
  struct Case {
    std::uint8_t firmware_in_memory;
    std::size_t file_size;
    bool strings_replaced;
  };
  const Case cases[] = {
      {0xFF, 10244, true},  {0xFF, 10300, true},  // bytes beyond the table are ignored
      {0xFF, 6148, false},  {0xFF, 8000, false},  // no table, or a cut one: kept as it was
      {0x05, 10244, false},
  };
  const Configuration source = SampleConfiguration(0xFF, 50);
  std::vector<std::uint8_t> whole = TypeWordBytes(kBackupFull);
  whole = Concat(Concat(Concat(whole, source.profile_image), source.burst_table),
                 source.string_unit_table);
  whole.resize(10300, 0xEE);
  for (const Case& c : cases) {
    const std::string path = dir.File("strings.bin");
    WriteBytes(path, {whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(c.file_size)});
    Configuration config = SampleConfiguration(c.firmware_in_memory, 1);
    const StringUnitTable strings_before = config.string_unit_table;

    EXPECT_EQ(Load(config, path), 0);
    EXPECT_EQ(config.burst_table, source.burst_table);
    EXPECT_EQ(config.string_unit_table,
              c.strings_replaced ? source.string_unit_table : strings_before)
        << "firmware " << int{c.firmware_in_memory} << ", " << c.file_size << " bytes";
  }
}

TEST_F(BackupFileTest, UnknownOrMissingTypeWordChangesOnlyTheLoadedType) {
  struct Case {
    std::vector<std::uint8_t> file;
    std::uint32_t loaded_type;
  };
  const Case cases[] = {
      {Concat(TypeWordBytes(0x08161008), SampleConfiguration(0x05, 50).profile_image), 0x08161008},
      {{}, 0},
      {{0x05, 0x10, 0x16}, 0},  // not even a whole type word
  };
  for (const Case& c : cases) {
    const std::string path = dir.File("unknown.bin");
    WriteBytes(path, c.file);
    Configuration config = SampleConfiguration(0x05);
    config.loaded_backup_type = kBackupProfileBlock27;
    Configuration expected = config;
    expected.loaded_backup_type = c.loaded_type;
    env.notifier.messages.clear();
    env.refresher.count = 0;

    EXPECT_EQ(Load(config, path), 0);
    EXPECT_TRUE(SameConfiguration(config, expected)) << c.file.size() << " bytes";
    EXPECT_EQ(env.notifier.messages, std::vector<std::string>{kWrongType});
    EXPECT_EQ(env.refresher.count, 1);
    EXPECT_EQ(env.sink.lines.back(), ">> Open File, " + path);
  }
}

TEST_F(BackupFileTest, FileShorterThanItsTypePromisesIsRefusedWhole) {
  const std::pair<std::uint32_t, std::size_t> cases[] = {
      {kBackupFull, 6147},        {kBackupFull, 2052},           {kBackupProfileImage, 2051},
      {kBackupProfileBlock27, 4}, {kBackupProfileBlock26, 1000}, {kBackupWorkingProfile, 259},
  };
  for (const auto& [type_word, size] : cases) {
    const std::vector<std::uint8_t> file = TypeWordFile(type_word, size, 0x77);
    const std::string path = dir.File("short.bin");
    WriteBytes(path, file);
    Configuration config = SampleConfiguration(0xFF);
    config.loaded_backup_type = kBackupProfileBlock26;
    const Configuration before = config;
    env.notifier.messages.clear();
    env.refresher.count = 0;

    SCOPED_TRACE(::testing::Message() << std::hex << type_word << std::dec << ", " << size);
    EXPECT_EQ(Load(config, path), 0);
    // Nothing changes, not even the block the next save goes to.
    EXPECT_TRUE(SameConfiguration(config, before));
    ASSERT_EQ(env.notifier.messages.size(), 1u);
    EXPECT_EQ(env.notifier.messages[0].rfind("Error: File Too Short", 0), 0u);
    EXPECT_EQ(env.refresher.count, 0);
  }
}

TEST_F(BackupFileTest, FileThatCannotBeOpenedChangesNothingAndLogsNothing) {
  const std::string paths[] = {dir.File("missing.bin"), dir.Path().string(), ""};
  for (const std::string& path : paths) {
    Configuration config = SampleConfiguration(0x05);
    config.current_profile = 2;
    const Configuration before = config;
    env.notifier.messages.clear();

    EXPECT_EQ(Load(config, path), 0);
    EXPECT_TRUE(SameConfiguration(config, before)) << "'" << path << "'";
    EXPECT_EQ(env.notifier.messages, std::vector<std::string>{kCantOpen});
  }
  EXPECT_TRUE(env.sink.lines.empty());
  EXPECT_EQ(env.refresher.count, 0);
}

TEST_F(BackupFileTest, LoadTellsItsStatusTypeWordAndSizesWithoutCountingMessages) {
  constexpr auto kLoaded = BackupLoadStatus::kLoaded;
  constexpr auto kCannotOpen = BackupLoadStatus::kCannotOpen;
  constexpr auto kUnknownType = BackupLoadStatus::kUnknownType;
  constexpr auto kTooShort = BackupLoadStatus::kTooShort;
  constexpr const char* kTooShortStart = "Error: File Too Short !";
  struct Case {
    const char* what;
    std::optional<std::uint32_t> type_word;  // none: no file written at all
    std::size_t size;                        // of the whole file, type word included
    std::uint8_t firmware_in_memory;
    BackupLoadStatus status;
    std::size_t bytes_read;
    std::size_t bytes_required;
    bool string_table_loaded;
    int shown_profile;
    const char* message;  // start of the one message shown; nullptr for none
  };
  const Case cases[] = {
      {"missing file", std::nullopt, 0, 0xFF, kCannotOpen, 0, 0, false, 0, kCantOpen},
      {"empty file", 0u, 0, 0xFF, kUnknownType, 0, 0, false, 0, kWrongType},
      {"half a type word", kBackupFull, 3, 0xFF, kUnknownType, 3, 0, false, 0, kWrongType},
      {"unknown type word", 0x08161008u, 2052, 0xFF, kUnknownType, 2052, 0, false, 0, kWrongType},
      {"full, short", kBackupFull, 6147, 0xFF, kTooShort, 6147, 6148, false, 0, kTooShortStart},
      {"image, short", kBackupProfileImage, 2051, 0xFF, kTooShort, 2051, 2052, false, 0,
       kTooShortStart},
      {"block 27, short", kBackupProfileBlock27, 4, 0xFF, kTooShort, 4, 2052, false, 0,
       kTooShortStart},
      {"block 26, short", kBackupProfileBlock26, 2000, 0xFF, kTooShort, 2000, 2052, false, 0,
       kTooShortStart},
      {"working copy, short", kBackupWorkingProfile, 259, 0xFF, kTooShort, 259, 260, false, 0,
       kTooShortStart},
      {"full", kBackupFull, 6148, 0xFF, kLoaded, 6148, 6148, false, 0, nullptr},
      {"full with strings", kBackupFull, 10244, 0xFF, kLoaded, 10244, 6148, true, 0, nullptr},
      {"full with strings, old firmware", kBackupFull, 10244, 0x05, kLoaded, 10244, 6148, false, 0,
       nullptr},
      {"full, bytes beyond", kBackupFull, 10300, 0xFF, kLoaded, 10244, 6148, true, 0, nullptr},
      {"image", kBackupProfileImage, 2052, 0xFF, kLoaded, 2052, 2052, false, 0, nullptr},
      {"block 27", kBackupProfileBlock27, 2052, 0xFF, kLoaded, 2052, 2052, false, 4, nullptr},
      {"block 26", kBackupProfileBlock26, 2052, 0xFF, kLoaded, 2052, 2052, false, 8, nullptr},
      {"working copy", kBackupWorkingProfile, 260, 0xFF, kLoaded, 260, 260, false, 0, nullptr},
  };
  const Configuration source = SampleConfiguration(0xFF, 50);
  std::vector<std::uint8_t> body =
      Concat(Concat(Bytes(source.profile_image), source.burst_table), source.string_unit_table);
  body.resize(20000, 0xEE);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string path = dir.File("status.bin");
    fs::remove(path);
    if (c.type_word) {
      std::vector<std::uint8_t> file = TypeWordBytes(*c.type_word);
      file = Concat(file, body);
      if (c.type_word == kBackupWorkingProfile) {
        file = Concat(TypeWordBytes(*c.type_word), source.working_profile);
      }
      file.resize(c.size);
      WriteBytes(path, file);
    }
    Configuration config = SampleConfiguration(c.firmware_in_memory, 1);
    env.notifier.messages.clear();

    const BackupLoadResult result = LoadWith(config, path, StringTableRule::kFirmwareInMemory);
    EXPECT_EQ(result.status, c.status);
    EXPECT_EQ(result.Loaded(), c.status == kLoaded);
    EXPECT_EQ(result.type_word, c.size >= 4 ? c.type_word.value_or(0) : 0u);
    EXPECT_EQ(result.bytes_read, c.bytes_read);
    EXPECT_EQ(result.bytes_required, c.bytes_required);
    EXPECT_EQ(result.string_table_loaded, c.string_table_loaded);
    EXPECT_EQ(config.string_unit_table == source.string_unit_table, c.string_table_loaded);
    EXPECT_EQ(result.shown_profile, c.shown_profile);
    if (c.message == nullptr) {
      EXPECT_TRUE(env.notifier.messages.empty());
    } else {
      ASSERT_EQ(env.notifier.messages.size(), 1u);
      EXPECT_EQ(env.notifier.messages[0].rfind(c.message, 0), 0u) << env.notifier.messages[0];
    }
  }
}

TEST_F(BackupFileTest, WithoutAKeypadTheFilesOwnFirmwareDecidesOnTheStringTable) {
  struct Case {
    std::uint8_t firmware_in_file;
    std::uint8_t firmware_in_memory;
    std::size_t file_size;
    bool by_file;    // strings read under StringTableRule::kFirmwareInFile
    bool by_memory;  // strings read under StringTableRule::kFirmwareInMemory
  };
  const Case cases[] = {
      {0xFF, 0x00, 10244, true, false}, {0xFF, 0xFF, 10244, true, true},
      {0x05, 0xFF, 10244, false, true}, {0x05, 0x05, 10244, false, false},
      {0xFF, 0x00, 8000, false, false},  // a cut table is never read
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "file " << int{c.firmware_in_file} << ", memory "
                                      << int{c.firmware_in_memory} << ", " << c.file_size);
    const Configuration source = SampleConfiguration(c.firmware_in_file, 50);
    std::vector<std::uint8_t> file = TypeWordBytes(kBackupFull);
    file = Concat(Concat(Concat(file, source.profile_image), source.burst_table),
                  source.string_unit_table);
    file.resize(c.file_size);
    const std::string path = dir.File("offline.bin");
    WriteBytes(path, file);

    for (const StringTableRule rule :
         {StringTableRule::kFirmwareInFile, StringTableRule::kFirmwareInMemory}) {
      const bool expected = rule == StringTableRule::kFirmwareInFile ? c.by_file : c.by_memory;
      Configuration config = SampleConfiguration(c.firmware_in_memory, 1);
      const StringUnitTable strings_before = config.string_unit_table;
      const BackupLoadResult result = LoadWith(config, path, rule);
      ASSERT_TRUE(result.Loaded());
      EXPECT_EQ(result.string_table_loaded, expected);
      EXPECT_EQ(config.string_unit_table, expected ? source.string_unit_table : strings_before);
      // Either way the working copy ends with the file's own profile 0 and its firmware byte.
      EXPECT_EQ(BoardSettingsReader(config.working_profile).FirmwareVersion(), c.firmware_in_file);
    }
  }
  EXPECT_TRUE(env.notifier.messages.empty());
}

TEST_F(BackupFileTest, SaveReplacesTheOldFileWholeAndKeepsItsPermissions) {
  if (!testing::kPosixPermissions) GTEST_SKIP() << "POSIX permissions only";
  const std::string path = dir.File("backup.bin");
  WriteBytes(path, std::vector<std::uint8_t>(20000, 0xAB));
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
  // A file of the user's that happens to carry the first temporary name stays untouched.
  WriteBytes(path + ".tmp", {1, 2, 3});

  Configuration config = SampleConfiguration(0x05);
  ASSERT_TRUE(SaveBackup(config, path, env.notifier));

  EXPECT_EQ(ReadBytes(path).size(), 6148u);
  EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(ReadBytes(path + ".tmp"), (std::vector<std::uint8_t>{1, 2, 3}));
  EXPECT_EQ(FilesIn(dir.Path()), (std::vector<std::string>{"backup.bin", "backup.bin.tmp"}));
}

TEST_F(BackupFileTest, SaveThatCannotCreateTheFileTellsTheUser) {
  fs::create_directory(dir.File("a-folder"));
  const std::string paths[] = {dir.File("no-such-folder/backup.bin"), dir.File("a-folder"), ""};
  for (const std::string& path : paths) {
    Configuration config = SampleConfiguration(0xFF);
    env.notifier.messages.clear();
    EXPECT_FALSE(SaveBackup(config, path, env.notifier)) << "'" << path << "'";
    EXPECT_EQ(env.notifier.messages, std::vector<std::string>{kCantOpen});
  }
  EXPECT_EQ(FilesIn(dir.Path()), std::vector<std::string>{"a-folder"});
}

TEST_F(BackupFileTest, WriteProtectedFileIsKeptAndTheUserTold) {
  if (testing::WritesEveryFile()) {
    GTEST_SKIP() << "this process may write read-only files";
  }
  const std::string path = dir.File("kept.bin");
  const std::vector<std::uint8_t> previous(3000, 0x42);
  WriteBytes(path, previous);
  fs::permissions(path, fs::perms::owner_read | fs::perms::group_read);
  Configuration config = SampleConfiguration(0x05);

  EXPECT_FALSE(SaveBackup(config, path, env.notifier));

  EXPECT_EQ(env.notifier.messages, std::vector<std::string>{kCantOpen});
  EXPECT_EQ(ReadBytes(path), previous);
  EXPECT_EQ(FilesIn(dir.Path()), std::vector<std::string>{"kept.bin"});
}

TEST_F(BackupFileTest, WriteFailingHalfWayLeavesThePreviousFileIntact) {
  if (!testing::kFileSizeLimitAvailable) GTEST_SKIP() << "no file size limit on this system";
  const std::string path = dir.File("backup.bin");
  const std::vector<std::uint8_t> previous(3000, 0x42);
  WriteBytes(path, previous);
  Configuration config = SampleConfiguration(0xFF);

  bool saved = true;
  {
    const FileSizeLimit limit(4096);
    saved = SaveBackup(config, path, env.notifier);
  }

  EXPECT_FALSE(saved);
  EXPECT_EQ(env.notifier.messages, std::vector<std::string>{kCantOpen});
  EXPECT_EQ(ReadBytes(path), previous);
  EXPECT_EQ(FilesIn(dir.Path()), std::vector<std::string>{"backup.bin"});
}

}  // namespace
}  // namespace qp40
