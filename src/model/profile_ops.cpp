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

// One block of a save and the log line that follows it.
struct SavedBlock {
  std::uint8_t block;
  std::span<const std::uint8_t, kBlockSize> data;
  std::string log_line;
};

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
  report.device_gone = link.DeviceGone();
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

  const SavedBlock blocks[] = {
      {config.profile_block_number, config.profile_image,
       FormatText(">> Save Profile %d to Device #%d", config.current_profile,
                  config.profile_block_number)},
      {kBurstBlockFirst, FirstHalf(config.burst_table),
       FormatText(">> Save Burst Data to Device #%d", kBurstBlockFirst)},
      {kBurstBlockSecond, SecondHalf(config.burst_table),
       FormatText(">> Save Burst Data to Device #%d", kBurstBlockSecond)},
      {kStringBlockFirst, FirstHalf(config.string_unit_table),
       FormatText(">> Save String Data to Device #%d", kStringBlockFirst)},
      {kStringBlockSecond, SecondHalf(config.string_unit_table),
       FormatText(">> Save String Data to Device #%d", kStringBlockSecond)},
  };
  TransferReport report;
  for (const SavedBlock& saved : blocks) {
    report.failed_pages += StoreBlock(link, saved.block, saved.data);
    if (link.DeviceGone()) {
      report.device_gone = true;
      break;
    }
    log.AppendLog(saved.log_line);
  }
  return report;
}

}  // namespace qp40
