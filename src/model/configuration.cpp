#include "model/configuration.h"

#include <algorithm>

#include "model/backup_file.h"

namespace qp40 {
namespace {

std::optional<std::size_t> SettingsOffset(std::uint8_t profile) {
  if (profile >= kProfileCount) {
    return std::nullopt;
  }
  return kProfileSize * profile + kSettingsOffset;
}

std::size_t FeatureByte(BoardFeature feature) {
  switch (feature) {
    case BoardFeature::kTyping:
      return kSettingTyping;
    case BoardFeature::kBacklight:
      return kSettingBacklight;
    case BoardFeature::kSticky:
      return kSettingSticky;
  }
  return kSettingTyping;
}

}  // namespace

std::optional<std::size_t> SlotOffset(std::uint8_t profile, std::uint8_t key_code) {
  if (profile >= kProfileCount || key_code > kLastSlotKeyCode) {
    return std::nullopt;
  }
  return kProfileSize * profile + kSlotSize * key_code;
}

KeyActionRecord ReadSlot(const ProfileImage& image, std::uint8_t profile, std::uint8_t key_code) {
  KeyActionRecord record{};
  if (const auto offset = SlotOffset(profile, key_code)) {
    const auto slot = std::span(image).subspan(*offset, kSlotSize);
    std::copy(slot.begin(), slot.end(), record.begin());
  }
  return record;
}

void WriteSlot(ProfileImage& image, std::uint8_t profile, std::uint8_t key_code,
               const KeyActionRecord& record) {
  if (const auto offset = SlotOffset(profile, key_code)) {
    std::copy(record.begin(), record.end(), std::span(image).subspan(*offset, kSlotSize).begin());
  }
}

KeyActionRecord WorkingRecord(const WorkingProfile& working, std::size_t position) {
  KeyActionRecord record{};
  if (position < kGridKeyCount) {
    const auto bytes = std::span(working).subspan(kSlotSize * position, kSlotSize);
    std::copy(bytes.begin(), bytes.end(), record.begin());
  }
  return record;
}

void SetWorkingRecord(WorkingProfile& working, std::size_t position,
                      const KeyActionRecord& record) {
  if (position < kGridKeyCount) {
    std::copy(record.begin(), record.end(),
              std::span(working).subspan(kSlotSize * position, kSlotSize).begin());
  }
}

bool IsProfileSwitchRecord(const KeyActionRecord& record) {
  return record[0] == kActionTool && record[1] == kProfileSwitchTool;
}

std::size_t KeysWithoutSlot(const KeyCodeMap& map) {
  return static_cast<std::size_t>(std::count_if(
      map.begin(), map.end(), [](std::uint8_t code) { return code > kLastSlotKeyCode; }));
}

void ReadKeyCodeMap(Configuration& config) {
  const auto map = std::span(config.profile_image).subspan<kKeyCodeMapOffset, kGridKeyCount>();
  std::copy(map.begin(), map.end(), config.key_code_map.begin());
}

ProfileView ReadProfile(const Configuration& config, std::uint8_t profile) {
  ProfileView view;
  const auto offset = SettingsOffset(profile);
  if (!offset) {
    return view;
  }
  for (std::size_t position = 0; position < kGridKeyCount; ++position) {
    view.records[position] = ReadSlot(config.profile_image, profile, config.key_code_map[position]);
  }
  const auto settings = std::span(config.profile_image).subspan(*offset, kSettingsSize);
  std::copy(settings.begin(), settings.end(), view.settings.begin());
  return view;
}

ProfileView ReadWorkingProfile(const WorkingProfile& working) {
  ProfileView view;
  for (std::size_t position = 0; position < kGridKeyCount; ++position) {
    view.records[position] = WorkingRecord(working, position);
  }
  const auto settings = std::span(working).subspan<kWorkingSettingsOffset, kSettingsSize>();
  std::copy(settings.begin(), settings.end(), view.settings.begin());
  return view;
}

ProfileView ViewProfile(const Configuration& config, std::uint8_t profile) {
  return profile == config.current_profile ? ReadWorkingProfile(config.working_profile)
                                           : ReadProfile(config, profile);
}

void FillWorkingCopy(Configuration& config, std::uint8_t profile) {
  const ProfileView view = ReadProfile(config, profile);
  for (std::size_t position = 0; position < kGridKeyCount; ++position) {
    SetWorkingRecord(config.working_profile, position, view.records[position]);
  }
  // A profile outside 0..3 has no settings: the working copy keeps its own.
  if (profile < kProfileCount) {
    std::copy(view.settings.begin(), view.settings.end(),
              config.working_profile.begin() + kWorkingSettingsOffset);
  }
}

void MergeWorkingCopy(Configuration& config, ProfileSwitchCopy copy) {
  const std::uint8_t profile = config.current_profile;
  for (std::size_t position = 0; position < kGridKeyCount; ++position) {
    const KeyActionRecord record = WorkingRecord(config.working_profile, position);
    const std::uint8_t key_code = config.key_code_map[position];
    if (copy == ProfileSwitchCopy::kAllProfiles && IsProfileSwitchRecord(record)) {
      for (std::uint8_t each = 0; each < kProfileCount; ++each) {
        WriteSlot(config.profile_image, each, key_code, record);
      }
    } else {
      WriteSlot(config.profile_image, profile, key_code, record);
    }
  }
  if (const auto offset = SettingsOffset(profile)) {
    const auto settings =
        std::span(config.working_profile).subspan<kWorkingSettingsOffset, kSettingsSize>();
    std::copy(settings.begin(), settings.end(), config.profile_image.begin() + *offset);
  }
}

std::uint8_t FeatureOnValue(BoardFeature feature) {
  switch (feature) {
    case BoardFeature::kTyping:
      return 4;
    case BoardFeature::kBacklight:
      return 2;
    case BoardFeature::kSticky:
      return 3;
  }
  return 0;
}

bool BoardSettingsReader::FeatureOn(BoardFeature feature) const {
  return bytes_[FeatureByte(feature)] != 0;
}

void BoardSettings::SetFeature(BoardFeature feature, bool on) {
  bytes_[FeatureByte(feature)] = on ? FeatureOnValue(feature) : 0;
}

std::uint8_t ProfileBlockForBackupType(std::uint32_t loaded_backup_type) {
  switch (loaded_backup_type) {
    case kBackupProfileBlock27:
      return kProfileBlockAlt27;
    case kBackupProfileBlock26:
      return kProfileBlockAlt26;
    default:
      return kProfileBlock;
  }
}

void ResetToOnboardProfileBlock(Configuration& config) {
  config.loaded_backup_type = 0;
  config.profile_block_number = kProfileBlock;
}

}  // namespace qp40
