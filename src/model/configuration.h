#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <tuple>

#include "keys/board_layout.h"
#include "keys/key_action.h"
#include "keys/key_label.h"

#include "keys/board_settings_names.h"
#include "memory_map/memory_map.h"

namespace qp40 {

static_assert(kSlotSize == std::tuple_size_v<KeyActionRecord>);
static_assert(kKeyCodeMapSize == kGridKeyCount);

// The working copy of one profile in grid order (keys/board_layout.h): 48 records, then the
// settings.
inline constexpr std::size_t kWorkingProfileSize = 256;
inline constexpr std::size_t kWorkingSettingsOffset = 192;

using ProfileImage = std::array<std::uint8_t, kProfileImageSize>;
using WorkingProfile = std::array<std::uint8_t, kWorkingProfileSize>;
// The key code map names the slot of each grid position; the burst table and the string unit
// table are the text tables of keys/key_label.h.
using KeyCodeMap = std::array<std::uint8_t, kGridKeyCount>;
using BurstTable = std::array<std::uint8_t, kTextTableSize>;
using StringUnitTable = std::array<std::uint8_t, kTextTableSize>;

// The key code map in force until a profile block or backup has been loaded.
inline constexpr KeyCodeMap kDefaultKeyCodeMap = kFactoryKeyCodeMap;

// The tool's in-memory configuration: one object for the whole run.
struct Configuration {
  ProfileImage profile_image{};
  WorkingProfile working_profile{};
  KeyCodeMap key_code_map = kDefaultKeyCodeMap;
  BurstTable burst_table{};
  StringUnitTable string_unit_table{};
  std::uint8_t current_profile = 0;
  std::uint8_t profile_block_number = kProfileBlock;
  std::uint32_t loaded_backup_type = 0;

  bool operator==(const Configuration&) const = default;
};

// Told when the records on screen may have changed; the window relabels its key grid.
class LabelRefresher {
 public:
  virtual ~LabelRefresher() = default;
  virtual void RefreshKeyLabels() = 0;
};

// --- Slots of the profile image ---

// The tools-key record (action kActionTool) with this operand switches profiles; the save copies
// it into every profile.
inline constexpr std::uint8_t kProfileSwitchTool = 0xEC;

// Key codes that own a slot: 0x00..0x7F.
inline constexpr std::uint8_t kLastSlotKeyCode = kSlotCount - 1;

// Offset in ProfileImage of the slot of `key_code` in `profile`, or nothing when the profile is
// not 0..3 or the code lies above 0x7F (a blank or foreign map names such codes). Every access
// to a slot goes through here, so nothing outside the image is ever touched.
std::optional<std::size_t> SlotOffset(std::uint8_t profile, std::uint8_t key_code);

// The record in that slot; a zero record when there is no slot.
KeyActionRecord ReadSlot(const ProfileImage& image, std::uint8_t profile, std::uint8_t key_code);
// Writes the record into that slot; does nothing when there is no slot.
void WriteSlot(ProfileImage& image, std::uint8_t profile, std::uint8_t key_code,
               const KeyActionRecord& record);

// Record `position` (grid position 0..47) of the working copy; a zero record beyond 47.
KeyActionRecord WorkingRecord(const WorkingProfile& working, std::size_t position);
// Sets record `position` of the working copy; does nothing beyond 47.
void SetWorkingRecord(WorkingProfile& working, std::size_t position, const KeyActionRecord& record);

// True for the profile-switch tools key (0xBA 0xEC), which lives in all four profiles.
bool IsProfileSwitchRecord(const KeyActionRecord& record);

// How many grid positions the key code map gives no slot.
std::size_t KeysWithoutSlot(const KeyCodeMap& map);

// --- Moving records between the image and the working copy ---

// Takes the key code map from profile 0 of the image.
void ReadKeyCodeMap(Configuration& config);

// Fills the working copy's 48 records and 12 settings bytes from `profile` of the image; the
// other 52 bytes keep their contents. Keys without a slot get a zero record.
void FillWorkingCopy(Configuration& config, std::uint8_t profile);

enum class ProfileSwitchCopy {
  kCurrentProfileOnly,  // switching profiles: each record goes home only
  kAllProfiles,         // saving: the profile-switch tools key goes into all four profiles
};

// Writes the working copy's records and settings back into profile `current_profile` of the
// image. Keys without a slot are skipped.
void MergeWorkingCopy(Configuration& config, ProfileSwitchCopy copy);

// --- Reading a profile without choosing it ---

// The 48 records of one profile in grid order and its 12 settings bytes, copied out.
struct ProfileView {
  std::array<KeyActionRecord, kGridKeyCount> records{};
  std::array<std::uint8_t, kSettingsSize> settings{};

  bool operator==(const ProfileView&) const = default;
};

// Profile `profile` of the image as FillWorkingCopy would bring it into the working copy, read
// through the key code map: a key without a slot gets a zero record, and a profile outside 0..3
// gives zero records and zero settings. Nothing in `config` changes.
ProfileView ReadProfile(const Configuration& config, std::uint8_t profile);

// The records and settings of the working copy.
ProfileView ReadWorkingProfile(const WorkingProfile& working);

// What choosing `profile` would show, without choosing it: the working copy for the current
// profile (its edits, or the keys a one-profile backup put there), the image for the others.
ProfileView ViewProfile(const Configuration& config, std::uint8_t profile);

// --- Board settings of the working copy ---

// The value a feature byte takes when the user switches it on (4, 2, 3; off is 0).
std::uint8_t FeatureOnValue(BoardFeature feature);

// Reads the 12 settings bytes of a working copy or of a profile view.
class BoardSettingsReader {
 public:
  explicit BoardSettingsReader(const WorkingProfile& working)
      : bytes_(std::span(working).subspan<kWorkingSettingsOffset, kSettingsSize>()) {}
  // The 12 settings bytes alone, e.g. those of a ProfileView.
  explicit BoardSettingsReader(std::span<const std::uint8_t, kSettingsSize> bytes)
      : bytes_(bytes) {}

  std::uint8_t BoardType() const { return bytes_[kSettingBoardType]; }
  std::uint8_t PathType() const { return bytes_[kSettingPathType]; }
  std::uint8_t UsbType() const { return bytes_[kSettingUsbType]; }
  // Any non-zero feature byte reads as on, whatever value the keypad stored.
  bool FeatureOn(BoardFeature feature) const;
  std::uint8_t FirmwareVersion() const { return bytes_[kSettingFirmware]; }
  // The chained string format and the string table in full backups come with firmware 0xFF.
  bool HasNewStrings() const { return FirmwareVersion() == kFirmwareNewStrings; }
  std::uint8_t Byte(std::size_t index) const { return index < kSettingsSize ? bytes_[index] : 0; }

 private:
  std::span<const std::uint8_t, kSettingsSize> bytes_;
};

// Reads and writes bytes 0..5 of the working copy's settings (what the board controls change).
// The firmware byte and bytes 6..11 are read only: the tool carries them unchanged.
class BoardSettings : public BoardSettingsReader {
 public:
  explicit BoardSettings(WorkingProfile& working)
      : BoardSettingsReader(working),
        bytes_(std::span(working).subspan<kWorkingSettingsOffset, kSettingsSize>()) {}

  void SetBoardType(std::uint8_t value) { bytes_[kSettingBoardType] = value; }
  void SetPathType(std::uint8_t value) { bytes_[kSettingPathType] = value; }
  void SetUsbType(std::uint8_t value) { bytes_[kSettingUsbType] = value; }
  // Writes the feature's own on-value or 0. Call it only when the user changes the feature, so
  // an odd on-value read from the keypad (say 1) goes back as it came.
  void SetFeature(BoardFeature feature, bool on);

 private:
  std::span<std::uint8_t, kSettingsSize> bytes_;
};

// --- Which profile block a save writes ---

// The profile block for "Save Profiles Onboard": 0x1B after a 0x0816100C backup, 0x1A after a
// 0x0816100D backup, 0x1C otherwise.
std::uint8_t ProfileBlockForBackupType(std::uint32_t loaded_backup_type);

// What "Load Profiles Onboard" does before loading: back to the keypad's own profile block.
void ResetToOnboardProfileBlock(Configuration& config);

}  // namespace qp40
