#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "log/log.h"
#include "log/notifier.h"
#include "model/configuration.h"

namespace qp40 {

// Type words of backup files.
inline constexpr std::uint32_t kBackupFull = 0x08161005;
inline constexpr std::uint32_t kBackupProfileImage = 0x08161007;
inline constexpr std::uint32_t kBackupProfileBlock27 = 0x0816100C;
inline constexpr std::uint32_t kBackupProfileBlock26 = 0x0816100D;
inline constexpr std::uint32_t kBackupWorkingProfile = 0x0816100B;

// Writes a full backup; false (after telling the user) when it cannot be written. A failed
// write leaves any previous file of that name intact.
bool SaveBackup(Configuration& config, const std::string& path, Notifier& notifier);

// The bytes SaveBackup writes: the working copy is merged into the image first, and the string
// unit table follows only with firmware 0xFF.
std::vector<std::uint8_t> FullBackupBytes(Configuration& config);

// Bytes a backup file of each type must hold, with its 4-byte type word.
inline constexpr std::size_t kBackupTypeWordSize = 4;
inline constexpr std::size_t kFullBackupSize =
    kBackupTypeWordSize + kProfileImageSize + kTextTableSize;
inline constexpr std::size_t kFullBackupWithStringsSize = kFullBackupSize + kTextTableSize;
inline constexpr std::size_t kProfileImageBackupSize = kBackupTypeWordSize + kProfileImageSize;
inline constexpr std::size_t kWorkingProfileBackupSize = kBackupTypeWordSize + kWorkingProfileSize;

// How a load went. Every status but kLoaded has told the user already.
enum class BackupLoadStatus {
  kLoaded,       // the file's area is in memory and the grid refreshed
  kCannotOpen,   // no name, no regular file, or no read: nothing changed, nothing logged
  kUnknownType,  // the type word is none of the five (or the file holds fewer than 4 bytes):
                 // only the loaded type changed, to that word (0 without one); grid refreshed
  kTooShort,     // the file ends before the data its type promises: nothing changed
};

struct BackupLoadResult {
  BackupLoadStatus status = BackupLoadStatus::kCannotOpen;
  // The file's type word; 0 when it could not be opened or holds fewer than 4 bytes.
  std::uint32_t type_word = 0;
  // Bytes read from the start of the file, at most kFullBackupWithStringsSize; 0 when it
  // could not be opened.
  std::size_t bytes_read = 0;
  // Bytes the type promises (kFullBackupSize for a full backup, with or without its string
  // unit table); 0 for an unknown type or a file that could not be opened.
  std::size_t bytes_required = 0;
  // A full backup's string unit table was taken into memory.
  bool string_table_loaded = false;
  // The profile index the window shows after the load: 4 after a backup of block 27, 8 after
  // one of block 26, 0 otherwise and after every failure.
  int shown_profile = 0;

  bool Loaded() const { return status == BackupLoadStatus::kLoaded; }
};

// Which firmware byte decides whether a full backup's string unit table is read (it is read
// only when that byte is 0xFF and the file holds the whole table).
enum class StringTableRule {
  kFirmwareInMemory,  // the byte of the configuration loaded before, as the window does
  kFirmwareInFile,    // the byte in the file's own profile 0, for a load without a keypad
};

// Reads a backup file into the configuration and refreshes the grid, telling the user when it
// cannot; the result says which case it was, so no caller has to count messages or read the
// file again. Logs ">> Open File, <path>" once the file is open.
BackupLoadResult LoadBackup(Configuration& config, const std::string& path, Log& log,
                            Notifier& notifier, LabelRefresher& refresher,
                            StringTableRule strings = StringTableRule::kFirmwareInMemory);

// LoadBackup of a file's contents already in memory, without the open line: bytes beyond
// kFullBackupWithStringsSize are not looked at, as LoadBackup never reads them.
BackupLoadResult LoadBackupBytes(Configuration& config, std::span<const std::uint8_t> contents,
                                 Log& log, Notifier& notifier, LabelRefresher& refresher,
                                 StringTableRule strings = StringTableRule::kFirmwareInMemory);

}  // namespace qp40
