#pragma once

#include <array>

#include "model/configuration.h"

namespace qp40 {

// The bytes a save of a configuration would write: the profile image with the working copy
// merged in as the save merges it, and both text tables.
struct SavedForm {
  ProfileImage profile_image{};
  BurstTable burst_table{};
  StringUnitTable string_unit_table{};

  bool operator==(const SavedForm&) const = default;
};

SavedForm SavedFormOf(const Configuration& config);

// What the keypad holds, as far as the window knows: the configuration as it was last loaded
// from or saved to the keypad. Edits are unsaved while a save would write other bytes; an edit
// that is undone, or typed back as it was, is not. Before any load it is an empty configuration.
class KeypadCopy {
 public:
  KeypadCopy();

  // Remembers `config` as what the keypad holds now.
  void Set(const Configuration& config);
  bool HasUnsavedEdits(const Configuration& config) const;
  // For each of the four profiles: its records or settings differ from the keypad's.
  std::array<bool, kProfileCount> ProfilesWithEdits(const Configuration& config) const;

 private:
  SavedForm keypad_;
};

}  // namespace qp40
