// Backup file bytes: load into a configuration, label every key, save to memory, and load and
// save that again.

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "fuzz_support.h"
#include "model/backup_file.h"

namespace {

using qp40::fuzz::Surroundings;

bool Unchanged(const qp40::Configuration& a, const qp40::Configuration& b) {
  return a.profile_image == b.profile_image && a.working_profile == b.working_profile &&
         a.key_code_map == b.key_code_map && a.burst_table == b.burst_table &&
         a.string_unit_table == b.string_unit_table && a.current_profile == b.current_profile &&
         a.profile_block_number == b.profile_block_number;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace qp40;
  const std::span<const std::uint8_t> file(data, size);

  // The first run loads into a configuration that already holds a chained-string keypad's data,
  // the second into a fresh one, so both rules for the string unit table are taken.
  for (const StringTableRule rule :
       {StringTableRule::kFirmwareInMemory, StringTableRule::kFirmwareInFile}) {
    Surroundings env;
    Configuration config;
    config.working_profile[kWorkingSettingsOffset + kSettingFirmware] = kFirmwareNewStrings;
    config.string_unit_table.fill(0x5A);
    const Configuration before = config;

    const BackupLoadResult result =
        LoadBackupBytes(config, file, env.log, env.notifier, env.refresher, rule);
    QP40_REQUIRE(result.bytes_read == std::min(size, kFullBackupWithStringsSize));
    switch (result.status) {
      case BackupLoadStatus::kLoaded:
        QP40_REQUIRE(result.bytes_required != 0 && result.bytes_read >= result.bytes_required);
        QP40_REQUIRE(config.loaded_backup_type == result.type_word);
        QP40_REQUIRE(env.notifier.messages == 0);
        if (result.type_word != kBackupWorkingProfile) {
          QP40_REQUIRE(std::equal(config.profile_image.begin(), config.profile_image.end(),
                                  file.begin() + kBackupTypeWordSize));
        }
        if (!result.string_table_loaded) {
          QP40_REQUIRE(config.string_unit_table == before.string_unit_table);
        }
        break;
      case BackupLoadStatus::kUnknownType:
        QP40_REQUIRE(Unchanged(config, before) && config.loaded_backup_type == result.type_word);
        QP40_REQUIRE(result.bytes_required == 0 && !result.string_table_loaded);
        break;
      case BackupLoadStatus::kTooShort:
        QP40_REQUIRE(Unchanged(config, before) && config.loaded_backup_type == 0);
        QP40_REQUIRE(result.bytes_read < result.bytes_required);
        break;
      case BackupLoadStatus::kCannotOpen:
        QP40_REQUIRE(false);
    }
    fuzz::CheckEveryLabel(config);

    // What a save writes must load back into a fresh configuration and save to the same bytes.
    const std::vector<std::uint8_t> saved = FullBackupBytes(config);
    QP40_REQUIRE(saved.size() == kFullBackupSize || saved.size() == kFullBackupWithStringsSize);
    Surroundings again_env;
    Configuration again;
    const BackupLoadResult reloaded =
        LoadBackupBytes(again, saved, again_env.log, again_env.notifier, again_env.refresher,
                        StringTableRule::kFirmwareInFile);
    QP40_REQUIRE(reloaded.Loaded() && reloaded.type_word == kBackupFull);
    QP40_REQUIRE(reloaded.string_table_loaded == (saved.size() == kFullBackupWithStringsSize));
    QP40_REQUIRE(FullBackupBytes(again) == saved);
  }
  return 0;
}
