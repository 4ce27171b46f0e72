#include "model/profile_ops.h"

#include <span>
#include <string>

#include "log/text_format.h"
#include "model/slot_check.h"

namespace qp40 {
namespace {

// The two 2048-byte halves of a burst or string unit table, each one keypad block.
std::span<std::uint8_t, kBlockSize> FirstHalf(std::array<std::uint8_t, kTextTableSize>& table) {
  return std::span(table).first<kBlockSize>();
}
std::span<std::uint8_t, kBlockSize> SecondHalf(std::array<std::uint8_t, kTextTableSize>& table) {
  return std::span(table).last<kBlockSize>();
}

int StoreBlock(KeypadLink& link, std::uint8_t block,
               std::span<const std::uint8_t, kBlockSize> data) {
  link.PrepareBlock(block);
  return link.WriteBlock(block, data);
}

}  // namespace

TransferReport LoadConfiguration(Configuration& config, KeypadLink& link, Log& log,
                                 LabelRefresher& refresher) {
  TransferReport report;
  report.failed_pages += link.ReadBlock(config.profile_block_number, config.profile_image);
  ReadKeyCodeMap(config);
  FillWorkingCopy(config, 0);
  report.failed_pages += link.ReadBlock(kBurstBlockFirst, FirstHalf(config.burst_table));
  report.failed_pages += link.ReadBlock(kBurstBlockSecond, SecondHalf(config.burst_table));
  report.failed_pages += link.ReadBlock(kStringBlockFirst, FirstHalf(config.string_unit_table));
  report.failed_pages += link.ReadBlock(kStringBlockSecond, SecondHalf(config.string_unit_table));
  link.ReadDeviceId();
  // The profile number is in place before the grid is relabelled, so the window never shows
  // the records of profile 1 under the number of the profile edited before.
  config.current_profile = 0;
  refresher.RefreshKeyLabels();
  LogKeysWithoutSlot(config.key_code_map, log);
  log.AppendLog(FormatText(">> Firmware Version: v%2x",
                           BoardSettingsReader(config.working_profile).FirmwareVersion()));
  return report;
}

void SelectProfile(Configuration& config, std::uint8_t profile, LabelRefresher& refresher) {
  if (profile >= kProfileCount) {
    return;
  }
  // Choosing the profile already on screen skips the write-back, which reverts its edits.
  if (profile != config.current_profile) {
    MergeWorkingCopy(config, ProfileSwitchCopy::kCurrentProfileOnly);
  }
  config.current_profile = profile;
  FillWorkingCopy(config, profile);
  refresher.RefreshKeyLabels();
}

TransferReport SaveConfiguration(Configuration& config, KeypadLink& link, Log& log) {
  MergeWorkingCopy(config, ProfileSwitchCopy::kAllProfiles);

  TransferReport report;
  report.failed_pages += StoreBlock(link, config.profile_block_number, config.profile_image);
  log.AppendLog(FormatText(">> Save Profile %d to Device #%d", config.current_profile,
                           config.profile_block_number));
  report.failed_pages += StoreBlock(link, kBurstBlockFirst, FirstHalf(config.burst_table));
  log.AppendLog(FormatText(">> Save Burst Data to Device #%d", kBurstBlockFirst));
  report.failed_pages += StoreBlock(link, kBurstBlockSecond, SecondHalf(config.burst_table));
  log.AppendLog(FormatText(">> Save Burst Data to Device #%d", kBurstBlockSecond));
  report.failed_pages += StoreBlock(link, kStringBlockFirst, FirstHalf(config.string_unit_table));
  log.AppendLog(FormatText(">> Save String Data to Device #%d", kStringBlockFirst));
  report.failed_pages += StoreBlock(link, kStringBlockSecond, SecondHalf(config.string_unit_table));
  log.AppendLog(FormatText(">> Save String Data to Device #%d", kStringBlockSecond));
  return report;
}

}  // namespace qp40
