#pragma once

#include <string>

#include "app/ctl/command_context.h"
#include "model/configuration.h"

namespace qp40::ctl {

// Loads a backup file into `config` without a keypad. The firmware byte of the file's own
// profile 0 decides, so a full backup's string unit table is read when the file has one. False,
// after stderr has said why, when the file is missing, truncated or of no known type.
bool LoadBackupOffline(CommandContext& context, const std::string& path, Configuration& config);

// Loads a backup file over a configuration read from the keypad, as "Load Backup" does. False,
// after stderr has said why, when nothing was loaded.
bool LoadBackupOver(CommandContext& context, const std::string& path, Configuration& config);

}  // namespace qp40::ctl
