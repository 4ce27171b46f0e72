#include "app/ctl/backup_input.h"

#include "model/backup_file.h"

namespace qp40::ctl {
namespace {

bool Load(CommandContext& context, const std::string& path, Configuration& config,
          StringTableRule strings) {
  const BackupLoadResult result =
      LoadBackup(config, path, context.GetLog(), context.Messages(), context.Refresher(), strings);
  if (!result.Loaded()) {
    context.Err() << "qp40ctl: " << path << ": not loaded\n";
  }
  return result.Loaded();
}

}  // namespace

bool LoadBackupOffline(CommandContext& context, const std::string& path, Configuration& config) {
  return Load(context, path, config, StringTableRule::kFirmwareInFile);
}

bool LoadBackupOver(CommandContext& context, const std::string& path, Configuration& config) {
  return Load(context, path, config, StringTableRule::kFirmwareInMemory);
}

}  // namespace qp40::ctl
