#include "model/backup_file.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <span>
#include <system_error>
#include <vector>

#include "files/file_replace.h"
#include "files/utf8_path.h"
#include "model/slot_check.h"

namespace qp40 {
namespace {

namespace fs = std::filesystem;

// The firmware byte of profile 0 in the image of a backup file, after its type word.
constexpr std::size_t kFileFirmwareOffset = kSettingsOffset + kSettingFirmware;

constexpr const char* kCantOpenMessage = "ERROR:Can't open file";
constexpr const char* kWrongTypeMessage = "Error: Wrong File Type !";
constexpr const char* kTooShortMessage =
    "Error: File Too Short !\nThe file ends before the data its type promises; nothing was "
    "loaded.";

// The profile numbers the window shows after loading an alternative profile block.
constexpr int kShownProfileBlock27 = 4;
constexpr int kShownProfileBlock26 = 8;

void AppendTypeWord(std::vector<std::uint8_t>& bytes, std::uint32_t type_word) {
  for (int shift = 0; shift < 32; shift += 8) {
    bytes.push_back(static_cast<std::uint8_t>(type_word >> shift));
  }
}

std::uint32_t ReadTypeWord(std::span<const std::uint8_t> bytes) {
  std::uint32_t type_word = 0;
  for (std::size_t i = 0; i < kBackupTypeWordSize; ++i) {
    type_word |= static_cast<std::uint32_t>(bytes[i]) << (8 * i);
  }
  return type_word;
}

// Reads at most `limit` bytes from the start of the file; nothing when it cannot be read.
std::optional<std::vector<std::uint8_t>> ReadHead(const fs::path& path, std::size_t limit) {
  std::error_code error;
  if (!fs::is_regular_file(path, error)) {
    return std::nullopt;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    return std::nullopt;
  }
  std::vector<std::uint8_t> bytes(limit);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(limit));
  if (in.bad()) {
    return std::nullopt;
  }
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return bytes;
}

template <std::size_t N>
void CopyInto(std::span<const std::uint8_t> source, std::size_t offset,
              std::array<std::uint8_t, N>& destination) {
  const auto part = source.subspan(offset, N);
  std::copy(part.begin(), part.end(), destination.begin());
}

// Bytes the file must hold for its type; 0 for a type word not in the table.
std::size_t RequiredSize(std::uint32_t type_word) {
  switch (type_word) {
    case kBackupFull:
      return kFullBackupSize;
    case kBackupProfileImage:
    case kBackupProfileBlock27:
    case kBackupProfileBlock26:
      return kProfileImageBackupSize;
    case kBackupWorkingProfile:
      return kWorkingProfileBackupSize;
    default:
      return 0;
  }
}

int ShownProfileFor(std::uint32_t type_word) {
  switch (type_word) {
    case kBackupProfileBlock27:
      return kShownProfileBlock27;
    case kBackupProfileBlock26:
      return kShownProfileBlock26;
    default:
      return 0;
  }
}

}  // namespace

std::vector<std::uint8_t> FullBackupBytes(Configuration& config) {
  MergeWorkingCopy(config, ProfileSwitchCopy::kAllProfiles);

  const bool with_strings = BoardSettingsReader(config.working_profile).HasNewStrings();
  std::vector<std::uint8_t> bytes;
  bytes.reserve(with_strings ? kFullBackupWithStringsSize : kFullBackupSize);
  AppendTypeWord(bytes, kBackupFull);
  bytes.insert(bytes.end(), config.profile_image.begin(), config.profile_image.end());
  bytes.insert(bytes.end(), config.burst_table.begin(), config.burst_table.end());
  if (with_strings) {
    bytes.insert(bytes.end(), config.string_unit_table.begin(), config.string_unit_table.end());
  }
  return bytes;
}

bool SaveBackup(Configuration& config, const std::string& path, Notifier& notifier) {
  const std::vector<std::uint8_t> bytes = FullBackupBytes(config);
  if (path.empty() || !ReplaceFileContents(PathFromUtf8(path), bytes)) {
    notifier.ShowMessage(kCantOpenMessage);
    return false;
  }
  return true;
}

BackupLoadResult LoadBackup(Configuration& config, const std::string& path, Log& log,
                            Notifier& notifier, LabelRefresher& refresher,
                            StringTableRule strings) {
  BackupLoadResult result;
  const auto file =
      path.empty() ? std::nullopt : ReadHead(PathFromUtf8(path), kFullBackupWithStringsSize);
  if (!file) {
    notifier.ShowMessage(kCantOpenMessage);
    result.status = BackupLoadStatus::kCannotOpen;
    return result;
  }
  log.AppendLog(">> Open File, " + path);
  return LoadBackupBytes(config, *file, log, notifier, refresher, strings);
}

BackupLoadResult LoadBackupBytes(Configuration& config, std::span<const std::uint8_t> contents,
                                 Log& log, Notifier& notifier, LabelRefresher& refresher,
                                 StringTableRule strings) {
  BackupLoadResult result;
  const auto bytes = contents.first(std::min(contents.size(), kFullBackupWithStringsSize));
  result.bytes_read = bytes.size();

  // Without a whole type word the file is of no known type; later saves go to block 28.
  result.type_word = bytes.size() < kBackupTypeWordSize ? 0 : ReadTypeWord(bytes);
  const std::uint32_t type_word = result.type_word;
  result.bytes_required = RequiredSize(type_word);
  if (result.bytes_required == 0) {
    config.loaded_backup_type = type_word;
    notifier.ShowMessage(kWrongTypeMessage);
    refresher.RefreshKeyLabels();
    result.status = BackupLoadStatus::kUnknownType;
    return result;
  }
  // A half-read image written to the keypad later would corrupt it: refuse the file whole.
  if (bytes.size() < result.bytes_required) {
    notifier.ShowMessage(kTooShortMessage);
    result.status = BackupLoadStatus::kTooShort;
    return result;
  }

  result.status = BackupLoadStatus::kLoaded;
  config.loaded_backup_type = type_word;
  const auto data = bytes.subspan(kBackupTypeWordSize);
  if (type_word == kBackupWorkingProfile) {
    CopyInto(data, 0, config.working_profile);
    refresher.RefreshKeyLabels();
    return result;
  }

  CopyInto(data, 0, config.profile_image);
  if (type_word == kBackupFull) {
    CopyInto(data, kProfileImageSize, config.burst_table);
    // The string unit table is read by the firmware in memory (or, without a keypad, by the
    // file's own), not by the file's length, and only when the file holds all of it.
    const std::uint8_t firmware =
        strings == StringTableRule::kFirmwareInFile
            ? data[kFileFirmwareOffset]
            : BoardSettingsReader(config.working_profile).FirmwareVersion();
    if (firmware == kFirmwareNewStrings && bytes.size() >= kFullBackupWithStringsSize) {
      CopyInto(data, kProfileImageSize + kTextTableSize, config.string_unit_table);
      result.string_table_loaded = true;
    }
  }
  ReadKeyCodeMap(config);
  FillWorkingCopy(config, 0);
  config.current_profile = 0;
  LogKeysWithoutSlot(config.key_code_map, log);
  refresher.RefreshKeyLabels();
  result.shown_profile = ShownProfileFor(type_word);
  return result;
}

}  // namespace qp40
