#include "editing/unsaved_edits.h"

#include <algorithm>

namespace qp40 {

SavedForm SavedFormOf(const Configuration& config) {
  Configuration merged = config;
  MergeWorkingCopy(merged, ProfileSwitchCopy::kAllProfiles);
  return {merged.profile_image, merged.burst_table, merged.string_unit_table};
}

KeypadCopy::KeypadCopy() : keypad_(SavedFormOf(Configuration{})) {}

void KeypadCopy::Set(const Configuration& config) { keypad_ = SavedFormOf(config); }

bool KeypadCopy::HasUnsavedEdits(const Configuration& config) const {
  return SavedFormOf(config) != keypad_;
}

std::array<bool, kProfileCount> KeypadCopy::ProfilesWithEdits(const Configuration& config) const {
  const SavedForm now = SavedFormOf(config);
  std::array<bool, kProfileCount> edited{};
  for (std::size_t profile = 0; profile < kProfileCount; ++profile) {
    const auto first = static_cast<std::ptrdiff_t>(profile * kProfileSize);
    edited[profile] = !std::equal(now.profile_image.begin() + first,
                                  now.profile_image.begin() + first + kProfileSize,
                                  keypad_.profile_image.begin() + first);
  }
  return edited;
}

}  // namespace qp40
