#pragma once

#include <cstdint>
#include <string>

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

// Reads a backup file into the configuration and refreshes the grid; returns 0, 4 or 8, the
// profile number the window shows (0 after every failure).
int LoadBackup(Configuration& config, const std::string& path, Log& log, Notifier& notifier,
               LabelRefresher& refresher);

}  // namespace qp40
