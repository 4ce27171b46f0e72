#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "keys/board_settings_names.h"

namespace qp40 {

// Blocks of the keypad's memory that the configuration occupies.
inline constexpr std::uint8_t kProfileBlock = 0x1C;
inline constexpr std::uint8_t kProfileBlockAlt27 = 0x1B;
inline constexpr std::uint8_t kProfileBlockAlt26 = 0x1A;
inline constexpr std::uint8_t kBurstBlockFirst = 0x1E;
inline constexpr std::uint8_t kBurstBlockSecond = 0x1F;
inline constexpr std::uint8_t kStringBlockFirst = 0x20;
inline constexpr std::uint8_t kStringBlockSecond = 0x21;
inline constexpr std::uint8_t kLongStringBlockFirst = 0x22;
inline constexpr std::uint8_t kMacroBlockFirst = 0x40;

// Layout of the profile block: four profiles of 128 slots of 4 bytes.
inline constexpr std::size_t kProfileImageSize = 2048;
inline constexpr std::size_t kProfileCount = 4;
inline constexpr std::size_t kProfileSize = 512;
inline constexpr std::size_t kSlotSize = 4;
inline constexpr std::size_t kSlotCount = 128;
inline constexpr std::size_t kSettingsOffset = 320;
inline constexpr std::size_t kSettingsSize = 12;
inline constexpr std::size_t kKeyCodeMapOffset = 448;

// The key grid: 6 rows of 8 keys.
inline constexpr std::size_t kGridRows = 6;
inline constexpr std::size_t kGridColumns = 8;
inline constexpr std::size_t kKeyCount = kGridRows * kGridColumns;

// The working copy of one profile in grid order.
inline constexpr std::size_t kWorkingProfileSize = 256;
inline constexpr std::size_t kWorkingSettingsOffset = 192;

// Board-setting bytes, relative to the start of the 12 settings bytes.
inline constexpr std::size_t kSettingBoardType = 0;
inline constexpr std::size_t kSettingPathType = 1;
inline constexpr std::size_t kSettingUsbType = 2;
inline constexpr std::size_t kSettingTyping = 3;
inline constexpr std::size_t kSettingBacklight = 4;
inline constexpr std::size_t kSettingSticky = 5;
inline constexpr std::size_t kSettingFirmware = 7;
inline constexpr std::uint8_t kFirmwareNewStrings = 0xFF;

// Burst table and string unit table: 256 entries of 16 bytes each.
inline constexpr std::size_t kTableSize = 4096;
inline constexpr std::size_t kTableEntrySize = 16;
inline constexpr std::size_t kTableEntries = kTableSize / kTableEntrySize;

using ProfileImage = std::array<std::uint8_t, kProfileImageSize>;
using WorkingProfile = std::array<std::uint8_t, kWorkingProfileSize>;
using KeyCodeMap = std::array<std::uint8_t, kKeyCount>;
using BurstTable = std::array<std::uint8_t, kTableSize>;
using StringUnitTable = std::array<std::uint8_t, kTableSize>;

// The key code map in force until a profile block or backup has been loaded.
inline constexpr KeyCodeMap kDefaultKeyCodeMap = {
    0x3C, 0x3D, 0x3E, 0x3F, 0x26, 0x27, 0x28, 0x29,  //
    0x1C, 0x1D, 0x1E, 0x1F, 0x38, 0x39, 0x3A, 0x3B,  //
    0x4A, 0x4B, 0x4C, 0x4D, 0x4E, 0x4F, 0x1A, 0x1B,  //
    0x49, 0x48, 0x47, 0x11, 0x10, 0x25, 0x24, 0x23,  //
    0x21, 0x46, 0x44, 0x42, 0x40, 0x18, 0x36, 0x35,  //
    0x22, 0x20, 0x45, 0x43, 0x41, 0x19, 0x37, 0x34,  //
};

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
};

// Told when the records on screen may have changed; the window relabels its key grid.
class LabelRefresher {
 public:
  virtual ~LabelRefresher() = default;
  virtual void RefreshKeyLabels() = 0;
};

// --- Slots of the profile image ---

// One key action record: four bytes, the first the action code.
using KeyRecord = std::array<std::uint8_t, kSlotSize>;

// The tools-key record that switches profiles; the save copies it into every profile.
inline constexpr std::uint8_t kToolsKeyAction = 0xBA;
inline constexpr std::uint8_t kProfileSwitchTool = 0xEC;

// Key codes that own a slot: 0x00..0x7F.
inline constexpr std::uint8_t kLastSlotKeyCode = kSlotCount - 1;

// Offset in ProfileImage of the slot of `key_code` in `profile`, or nothing when the profile is
// not 0..3 or the code lies above 0x7F (a blank or foreign map names such codes). Every access
// to a slot goes through here, so nothing outside the image is ever touched.
std::optional<std::size_t> SlotOffset(std::uint8_t profile, std::uint8_t key_code);

// The record in that slot; a zero record when there is no slot.
KeyRecord ReadSlot(const ProfileImage& image, std::uint8_t profile, std::uint8_t key_code);
// Writes the record into that slot; does nothing when there is no slot.
void WriteSlot(ProfileImage& image, std::uint8_t profile, std::uint8_t key_code,
               const KeyRecord& record);

// Record `position` (grid position 0..47) of the working copy; a zero record beyond 47.
KeyRecord WorkingRecord(const WorkingProfile& working, std::size_t position);
// Sets record `position` of the working copy; does nothing beyond 47.
void SetWorkingRecord(WorkingProfile& working, std::size_t position, const KeyRecord& record);

// True for the profile-switch tools key (0xBA 0xEC), which lives in all four profiles.
bool IsProfileSwitchRecord(const KeyRecord& record);

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

// --- Board settings of the working copy ---

// The value a feature byte takes when the user switches it on (4, 2, 3; off is 0).
std::uint8_t FeatureOnValue(BoardFeature feature);

// Reads the 12 settings bytes of a working copy.
class BoardSettingsReader {
 public:
  explicit BoardSettingsReader(const WorkingProfile& working)
      : bytes_(std::span(working).subspan<kWorkingSettingsOffset, kSettingsSize>()) {}

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
