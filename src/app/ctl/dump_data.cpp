#include "app/ctl/dump_data.h"

#include <algorithm>
#include <set>

#include "app/ctl/grid_text.h"
#include "keys/key_action.h"
#include "macros/burst_store.h"
#include "macros/string_store.h"
#include "model/backup_file.h"

namespace qp40::ctl {
namespace {

// The operand byte of a burst or string key that names its entry.
constexpr std::size_t kTextIndexByte = 3;

DumpedKey DumpKey(const Configuration& config, const ProfileView& view, std::size_t position) {
  DumpedKey key;
  key.row = static_cast<int>(position / kGridColumnCount) + 1;
  key.column = static_cast<int>(position % kGridColumnCount) + 1;
  key.record = view.records[position];
  const KeyActionForm form = DecodeKeyAction(key.record);
  key.type = form.type;
  key.parameters = {form.p0, form.p1, form.p2, form.p3, form.p4};
  key.label = RecordLabel(config, key.record);
  return key;
}

DumpedText DumpString(const Configuration& config, StringFormat format, std::uint8_t unit) {
  DumpedText text;
  text.index = unit;
  if (format == StringFormat::kChained) {
    const std::optional<std::string> chained = ReadChainedString(config.string_unit_table, unit);
    text.present = chained.has_value();
    text.text = chained.value_or("");
    return text;
  }
  // The older layout: a short string lives in its unit, a long one in a slot on the keypad of
  // which the unit holds the first 12 characters.
  const auto unit_bytes =
      std::span(config.string_unit_table).subspan(unit * kTextEntrySize, kTextEntrySize);
  const std::uint8_t length = unit_bytes[kUnitLength];
  text.present = length != 0;
  const auto characters = unit_bytes.subspan(kUnitText, kCharsPerUnit);
  const auto end = std::find(characters.begin(), characters.end(), 0);
  text.text.assign(characters.begin(), end);
  text.complete = length <= kShortStringLimit;
  return text;
}

}  // namespace

DumpData CollectDump(const Configuration& config) {
  DumpData data;
  data.type_word = config.loaded_backup_type;
  const StringFormat format = StringFormatOf(config);

  std::set<std::uint8_t> burst_entries;
  std::set<std::uint8_t> string_numbers;
  // A one-profile backup fills the working copy alone; there is no other profile to show. The
  // profile in the working copy is read from there, so such a backup shows its own keys.
  const std::size_t profiles =
      config.loaded_backup_type == kBackupWorkingProfile ? 1 : kProfileCount;
  for (std::uint8_t profile = 0; profile < profiles; ++profile) {
    const ProfileView view = ViewProfile(config, profile);
    DumpedProfile dumped;
    dumped.number = profile + 1;
    dumped.settings = view.settings;
    for (std::size_t position = 0; position < kGridKeyCount; ++position) {
      DumpedKey key = DumpKey(config, view, position);
      if (key.type == kTypeBurst) burst_entries.insert(key.record[kTextIndexByte]);
      if (key.type == kTypeString) string_numbers.insert(key.record[kTextIndexByte]);
      dumped.keys.push_back(std::move(key));
    }
    data.profiles.push_back(std::move(dumped));
  }

  for (const std::uint8_t entry : burst_entries) {
    DumpedText text;
    text.index = entry;
    text.present = config.burst_table[entry * kTextEntrySize] != kFreeBurstEntry;
    text.text = text.present ? ReadBurstText(config.burst_table, entry) : std::string();
    data.bursts.push_back(std::move(text));
  }
  for (const std::uint8_t number : string_numbers) {
    data.strings.push_back(DumpString(config, format, number));
  }
  return data;
}

}  // namespace qp40::ctl
