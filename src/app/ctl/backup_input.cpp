#include "app/ctl/backup_input.h"

#include <array>
#include <cstdint>
#include <fstream>

#include "model/backup_file.h"

namespace qp40::ctl {
namespace {

constexpr std::size_t kTypeWordSize = 4;
constexpr std::size_t kFirmwareOffset =
    kTypeWordSize + kSettingsOffset + kSettingFirmware;  // in profile 0 of a full backup

void TakeFirmwareFromFile(const std::string& path, Configuration& config) {
  std::ifstream in(path, std::ios::binary);
  std::array<char, kFirmwareOffset + 1> head{};
  in.read(head.data(), static_cast<std::streamsize>(head.size()));
  if (static_cast<std::size_t>(in.gcount()) != head.size()) return;

  std::uint32_t type_word = 0;
  for (std::size_t i = 0; i < kTypeWordSize; ++i) {
    type_word |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(head[i])) << (8 * i);
  }
  if (type_word != kBackupFull) return;
  config.working_profile[kWorkingSettingsOffset + kSettingFirmware] =
      static_cast<std::uint8_t>(head[kFirmwareOffset]);
}

}  // namespace

bool LoadBackupOffline(CommandContext& context, const std::string& path, Configuration& config) {
  TakeFirmwareFromFile(path, config);
  return LoadBackupOver(context, path, config);
}

bool LoadBackupOver(CommandContext& context, const std::string& path, Configuration& config) {
  // LoadBackup answers 0 for success and failure alike; a failure always tells the user.
  const int messages_before = context.Messages().MessageCount();
  LoadBackup(config, path, context.GetLog(), context.Messages(), context.Refresher());
  if (context.Messages().MessageCount() != messages_before) {
    context.Err() << "qp40ctl: " << path << ": not loaded\n";
    return false;
  }
  return true;
}

}  // namespace qp40::ctl
