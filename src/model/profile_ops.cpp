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

// The log line after block `part` of a save.
std::string SavedLine(const Configuration& config, std::size_t part, std::uint8_t block) {
  if (part == kProfilePart) {
    return FormatText(">> Save Profile %d to Device #%d", config.current_profile, block);
  }
  const bool burst = block == kBurstBlockFirst || block == kBurstBlockSecond;
  return FormatText(
      burst ? ">> Save Burst Data to Device #%d" : ">> Save String Data to Device #%d", block);
}

}  // namespace

TransferReport LoadConfiguration(Configuration& config, KeypadLink& link, Log& log,
                                 LabelRefresher& refresher) {
  TransferReport report;
  const auto read = [&](std::size_t part, std::uint8_t block,
                        std::span<std::uint8_t, kBlockSize> destination) {
    const int failed = link.ReadBlock(block, destination);
    report.failed_pages += failed;
    report.troubled[part] = failed > 0;
  };
  read(kProfilePart, config.profile_block_number, config.profile_image);
  ReadKeyCodeMap(config);
  FillWorkingCopy(config, 0);
  read(1, kBurstBlockFirst, FirstHalf(config.burst_table));
  read(2, kBurstBlockSecond, SecondHalf(config.burst_table));
  read(3, kStringBlockFirst, FirstHalf(config.string_unit_table));
  read(4, kStringBlockSecond, SecondHalf(config.string_unit_table));
  report.identity_failed = !link.ReadDeviceId();
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

TransferReport SaveConfiguration(Configuration& config, KeypadLink& link, Log& log,
                                 const BlockSelection& which) {
  MergeWorkingCopy(config, ProfileSwitchCopy::kAllProfiles);

  TransferReport report;
  const auto blocks = ConfigBlocksOf(config);
  for (std::size_t part = 0; part < kConfigBlockCount; ++part) {
    if (!which[part]) continue;
    const ConfigBlock& block = blocks[part];
    report.prepared[part] = true;
    const bool prepared = link.PrepareBlock(block.number);
    const int failed = link.WriteBlock(block.number, block.data);
    report.failed_pages += failed;
    report.troubled[part] = !prepared || failed > 0;
    if (link.DeviceGone()) {
      report.device_gone = true;
      report.troubled[part] = true;
      return report;
    }
    log.AppendLog(SavedLine(config, part, block.number));
  }
  BlockSelection kept{};
  for (std::size_t part = 0; part < kConfigBlockCount; ++part) kept[part] = !which[part];
  if (SelectedCount(kept) > 0) {
    log.AppendLog(">> Unchanged on Device, not written: " + BlockNumbersText(config, kept));
  }
  return report;
}

}  // namespace qp40
