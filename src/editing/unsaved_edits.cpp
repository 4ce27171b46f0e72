#include "editing/unsaved_edits.h"

#include <algorithm>

namespace qp40 {
namespace {

// Block `part` of a saved form, in ConfigBlocksOf order.
template <typename Form>
auto BlockBytes(Form& form, std::size_t part) {
  switch (part) {
    case kProfilePart:
      return std::span(form.profile_image);
    case 1:
      return std::span(form.burst_table).template first<kBlockSize>();
    case 2:
      return std::span(form.burst_table).template last<kBlockSize>();
    case 3:
      return std::span(form.string_unit_table).template first<kBlockSize>();
    default:
      return std::span(form.string_unit_table).template last<kBlockSize>();
  }
}

}  // namespace

SavedForm SavedFormOf(const Configuration& config) {
  Configuration merged = config;
  MergeWorkingCopy(merged, ProfileSwitchCopy::kAllProfiles);
  return {merged.profile_image, merged.burst_table, merged.string_unit_table,
          merged.profile_block_number};
}

KeypadCopy::KeypadCopy() : keypad_(SavedFormOf(Configuration{})) {}

void KeypadCopy::Set(const Configuration& config) { Set(config, kNoConfigBlocks); }

void KeypadCopy::Set(const Configuration& config, const BlockSelection& unsure) {
  keypad_ = SavedFormOf(config);
  empty_ = false;
  for (std::size_t part = 0; part < kConfigBlockCount; ++part) known_[part] = !unsure[part];
}

void KeypadCopy::Holds(const Configuration& config, std::size_t part) {
  if (part >= kConfigBlockCount) return;
  const SavedForm now = SavedFormOf(config);
  const auto from = BlockBytes(now, part);
  std::copy(from.begin(), from.end(), BlockBytes(keypad_, part).begin());
  if (part == kProfilePart) keypad_.profile_block_number = now.profile_block_number;
  known_[part] = true;
  empty_ = false;
}

std::optional<Configuration> KeypadCopy::Held(const Configuration& config) const {
  if (empty_) return std::nullopt;
  Configuration held = config;
  held.profile_image = keypad_.profile_image;
  held.burst_table = keypad_.burst_table;
  held.string_unit_table = keypad_.string_unit_table;
  held.profile_block_number = keypad_.profile_block_number;
  FillWorkingCopy(held, held.current_profile);
  return held;
}

void KeypadCopy::Forget(std::size_t part) {
  if (part < kConfigBlockCount) known_[part] = false;
}

void KeypadCopy::ForgetAll() { known_ = kNoConfigBlocks; }

bool KeypadCopy::HasUnsavedEdits(const Configuration& config) const {
  const SavedForm now = SavedFormOf(config);
  // Where the profile block goes is no edit of the user's; only the bytes count.
  return now.profile_image != keypad_.profile_image || now.burst_table != keypad_.burst_table ||
         now.string_unit_table != keypad_.string_unit_table;
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

BlockSelection KeypadCopy::BlocksToWrite(const Configuration& config) const {
  const SavedForm now = SavedFormOf(config);
  BlockSelection write{};
  for (std::size_t part = 0; part < kConfigBlockCount; ++part) {
    const auto ours = BlockBytes(now, part);
    const auto keypads = BlockBytes(keypad_, part);
    write[part] = !known_[part] || !std::equal(ours.begin(), ours.end(), keypads.begin());
  }
  // Profiles the keypad holds in one block are not known to be in another.
  if (now.profile_block_number != keypad_.profile_block_number) write[kProfilePart] = true;
  return write;
}

}  // namespace qp40
