#pragma once

#include <array>
#include <optional>

#include "model/config_blocks.h"
#include "model/configuration.h"

namespace qp40 {

// The bytes a save of a configuration would write: the profile image with the working copy
// merged in as the save merges it, and both text tables.
struct SavedForm {
  ProfileImage profile_image{};
  BurstTable burst_table{};
  StringUnitTable string_unit_table{};
  // The block the profile image goes to.
  std::uint8_t profile_block_number = kProfileBlock;

  bool operator==(const SavedForm&) const = default;
};

SavedForm SavedFormOf(const Configuration& config);

// What the keypad holds, as far as the tool knows: the configuration as it was last loaded from
// or saved to the keypad, block by block. Edits are unsaved while a save would write other
// bytes; an edit that is undone, or typed back as it was, is not. Before any load it is an empty
// configuration. A block whose load or save went wrong, or any block after the keypad was
// unplugged or restored to its factory settings, is not known for sure: a save writes it whole.
class KeypadCopy {
 public:
  KeypadCopy();

  // Remembers `config` as what the keypad holds now, every block known for sure.
  void Set(const Configuration& config);
  // Remembers `config` as what the keypad holds now, but the blocks of `unsure` only as a guess.
  void Set(const Configuration& config, const BlockSelection& unsure);
  // Block `part` of a save of `config` was read back as written: the keypad holds it.
  void Holds(const Configuration& config, std::size_t part);
  // What the keypad holds in block `part` is no longer known for sure.
  void Forget(std::size_t part);
  void ForgetAll();

  bool HasUnsavedEdits(const Configuration& config) const;
  // For each of the four profiles: its records or settings differ from the keypad's.
  std::array<bool, kProfileCount> ProfilesWithEdits(const Configuration& config) const;
  // The blocks a save of `config` has to write: those whose bytes differ from the keypad's and
  // those not known for sure.
  BlockSelection BlocksToWrite(const Configuration& config) const;
  bool Known(std::size_t part) const { return part < kConfigBlockCount && known_[part]; }
  // True until the first Set: nothing is known of the keypad yet.
  bool Empty() const { return empty_; }
  // What the keypad holds as a configuration: its image and text tables, with the key code map,
  // shown profile and backup type of `config` and the working copy filled from the keypad's
  // shown profile. Nothing before the first Set.
  std::optional<Configuration> Held(const Configuration& config) const;

 private:
  SavedForm keypad_;
  bool empty_ = true;
  BlockSelection known_ = kNoConfigBlocks;
};

}  // namespace qp40
