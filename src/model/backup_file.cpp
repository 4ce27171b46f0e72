#include "model/backup_file.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <span>
#include <system_error>
#include <vector>

#include "files/file_replace.h"
#include "model/slot_check.h"

namespace qp40 {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kTypeWordSize = 4;
// A full backup without and with the string unit table.
constexpr std::size_t kFullBackupSize = kTypeWordSize + kProfileImageSize + kTableSize;
constexpr std::size_t kFullBackupWithStringsSize = kFullBackupSize + kTableSize;
constexpr std::size_t kProfileImageBackupSize = kTypeWordSize + kProfileImageSize;
constexpr std::size_t kWorkingProfileBackupSize = kTypeWordSize + kWorkingProfileSize;

constexpr const char* kCantOpenMessage = "ERROR:Can't open file";
constexpr const char* kWrongTypeMessage = "Error: Wrong File Type !";
constexpr const char* kTooShortMessage =
    "Error: File Too Short !\nThe file ends before the data its type promises; nothing was "
    "loaded.";

// The profile numbers the window shows after loading an alternative profile block.
constexpr int kResultProfileBlock27 = 4;
constexpr int kResultProfileBlock26 = 8;

void AppendTypeWord(std::vector<std::uint8_t>& bytes, std::uint32_t type_word) {
  for (int shift = 0; shift < 32; shift += 8) {
    bytes.push_back(static_cast<std::uint8_t>(type_word >> shift));
  }
}

std::uint32_t ReadTypeWord(std::span<const std::uint8_t> bytes) {
  std::uint32_t type_word = 0;
  for (std::size_t i = 0; i < kTypeWordSize; ++i) {
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

int ResultFor(std::uint32_t type_word) {
  switch (type_word) {
    case kBackupProfileBlock27:
      return kResultProfileBlock27;
    case kBackupProfileBlock26:
      return kResultProfileBlock26;
    default:
      return 0;
  }
}

}  // namespace

bool SaveBackup(Configuration& config, const std::string& path, Notifier& notifier) {
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

  if (path.empty() || !ReplaceFileContents(fs::path(path), bytes)) {
    notifier.ShowMessage(kCantOpenMessage);
    return false;
  }
  return true;
}

int LoadBackup(Configuration& config, const std::string& path, Log& log, Notifier& notifier,
               LabelRefresher& refresher) {
  const auto file =
      path.empty() ? std::nullopt : ReadHead(fs::path(path), kFullBackupWithStringsSize);
  if (!file) {
    notifier.ShowMessage(kCantOpenMessage);
    return 0;
  }
  log.AppendLog(">> Open File, " + path);
  const std::span<const std::uint8_t> bytes(*file);

  // Without a whole type word the file is of no known type; later saves go to block 28.
  const std::uint32_t type_word = bytes.size() < kTypeWordSize ? 0 : ReadTypeWord(bytes);
  const std::size_t required = RequiredSize(type_word);
  if (required == 0) {
    config.loaded_backup_type = type_word;
    notifier.ShowMessage(kWrongTypeMessage);
    refresher.RefreshKeyLabels();
    return 0;
  }
  // A half-read image written to the keypad later would corrupt it: refuse the file whole.
  if (bytes.size() < required) {
    notifier.ShowMessage(kTooShortMessage);
    return 0;
  }

  config.loaded_backup_type = type_word;
  const auto data = bytes.subspan(kTypeWordSize);
  if (type_word == kBackupWorkingProfile) {
    CopyInto(data, 0, config.working_profile);
    refresher.RefreshKeyLabels();
    return 0;
  }

  CopyInto(data, 0, config.profile_image);
  if (type_word == kBackupFull) {
    CopyInto(data, kProfileImageSize, config.burst_table);
    // The string unit table is read by the firmware in memory, not by the file's length, and
    // only when the file holds all of it.
    const bool wants_strings = BoardSettingsReader(config.working_profile).HasNewStrings();
    if (wants_strings && bytes.size() >= kFullBackupWithStringsSize) {
      CopyInto(data, kProfileImageSize + kTableSize, config.string_unit_table);
    }
  }
  ReadKeyCodeMap(config);
  FillWorkingCopy(config, 0);
  config.current_profile = 0;
  LogKeysWithoutSlot(config.key_code_map, log);
  refresher.RefreshKeyLabels();
  return ResultFor(type_word);
}

}  // namespace qp40
