#include "editing/key_copy.h"

#include <algorithm>

#include "macros/burst_store.h"
#include "macros/string_store.h"

namespace qp40 {
namespace {

constexpr std::size_t kTextHighByte = 2;
constexpr std::size_t kTextLowByte = 3;

enum class TextKind { kNone, kBurst, kString };

TextKind TextKindOf(const KeyActionRecord& record) {
  const std::optional<int> type = DecodeKeyAction(record).type;
  if (type == kTypeBurst) return TextKind::kBurst;
  if (type == kTypeString) return TextKind::kString;
  return TextKind::kNone;
}

unsigned BurstIndexOf(const KeyActionRecord& record) {
  return record[kTextHighByte] * 256u + record[kTextLowByte];
}

// Frees the text entry `record` holds, if it holds one.
void FreeTextOf(Configuration& config, const KeyActionRecord& record, Log& log) {
  switch (TextKindOf(record)) {
    case TextKind::kBurst:
      FreeBurstEntry(config.burst_table, BurstIndexOf(record));
      break;
    case TextKind::kString:
      FreeString(config.string_unit_table, record[kTextLowByte], log);
      break;
    case TextKind::kNone:
      break;
  }
}

}  // namespace

CopiedKey CopyKey(const Configuration& config, KeypadLink& link, std::size_t position) {
  CopiedKey key{WorkingRecord(config.working_profile, position), std::nullopt};
  switch (TextKindOf(key.record)) {
    case TextKind::kBurst:
      if (const unsigned index = BurstIndexOf(key.record); index < kTextEntryCount) {
        key.text = ReadBurstText(config.burst_table, static_cast<std::uint8_t>(index));
      }
      break;
    case TextKind::kString:
      key.text = ReadString(config, link, key.record[kTextLowByte]);
      break;
    case TextKind::kNone:
      break;
  }
  return key;
}

std::optional<KeyActionRecord> PlaceCopiedKey(Configuration& config, KeypadLink& link,
                                              const CopiedKey& key, const KeyActionRecord& held,
                                              Log& log, Notifier& notifier) {
  KeyActionRecord record = key.record;
  const TextKind kind = TextKindOf(record);
  if (kind != TextKind::kNone) {
    if (!key.text) {
      notifier.ShowMessage("The text of the copied key could not be read, so it is not pasted.");
      return std::nullopt;
    }
    if (kind == TextKind::kBurst) {
      const std::optional<std::uint8_t> entry =
          ReplaceBurstText(config.burst_table, kNoBurstEntry, *key.text, log, notifier);
      if (!entry) return std::nullopt;
      record[kTextHighByte] = 0;
      record[kTextLowByte] = *entry;
    } else {
      const std::optional<std::uint8_t> number =
          ReplaceString(config, link, kNoString, *key.text, log, notifier);
      if (!number) return std::nullopt;
      record[kTextLowByte] = *number;
    }
  }
  FreeTextOf(config, held, log);
  return record;
}

bool PasteKey(Configuration& config, KeypadLink& link, std::size_t position, const CopiedKey& key,
              Log& log, Notifier& notifier) {
  if (position >= kGridKeyCount) return false;
  const KeyActionRecord held = WorkingRecord(config.working_profile, position);
  const std::optional<KeyActionRecord> record =
      PlaceCopiedKey(config, link, key, held, log, notifier);
  if (!record) return false;
  SetWorkingRecord(config.working_profile, position, *record);
  return true;
}

bool CopyShownProfile(Configuration& config, KeypadLink& link, std::uint8_t to, Log& log,
                      Notifier& notifier) {
  if (to >= kProfileCount || to == config.current_profile) return false;
  const Configuration before = config;
  for (std::size_t position = 0; position < kGridKeyCount; ++position) {
    const std::uint8_t code = config.key_code_map[position];
    if (!SlotOffset(to, code)) continue;
    const CopiedKey key = CopyKey(config, link, position);
    const KeyActionRecord held = ReadSlot(config.profile_image, to, code);
    const std::optional<KeyActionRecord> record =
        PlaceCopiedKey(config, link, key, held, log, notifier);
    if (!record) {
      config = before;
      return false;
    }
    WriteSlot(config.profile_image, to, code, *record);
  }
  const auto settings =
      std::span(config.working_profile).subspan<kWorkingSettingsOffset, kSettingsSize>();
  std::copy(settings.begin(), settings.end(),
            config.profile_image.begin() +
                static_cast<std::ptrdiff_t>(to * kProfileSize + kSettingsOffset));
  return true;
}

}  // namespace qp40
