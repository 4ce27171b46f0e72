// The keypad session's layout import: a layout file put into the configuration.
#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "layout/key_expression.h"
#include "layout/layout_diff.h"
#include "layout/layout_plan.h"
#include "log/notifier.h"
#include "macros/string_store.h"
#include "session/keypad_session.h"

namespace qp40 {
namespace {

// Keeps what the text stores would tell the user, so that an import can list it as a problem.
class CollectingNotifier final : public Notifier {
 public:
  void ShowMessage(std::string_view text) override { messages_.emplace_back(text); }
  std::vector<std::string> Take() { return std::exchange(messages_, {}); }

 private:
  std::vector<std::string> messages_;
};

// The text a record names: its kind and its entry or string number.
struct TextRef {
  KeypadTextKind kind;
  unsigned number;
  bool operator==(const TextRef&) const = default;
};

std::optional<TextRef> TextRefOf(const KeyActionRecord& record) {
  const std::optional<KeypadTextKind> kind = KeyTextKindOf(record);
  if (!kind) return std::nullopt;
  const unsigned number =
      *kind == KeypadTextKind::kBurst ? BurstIndexOf(record) : record[kKeyTextLowByte];
  return TextRef{*kind, number};
}

struct KeyChange {
  std::uint8_t profile = 0;
  std::size_t key = 0;
  KeyEdit edit;
};

std::vector<std::uint8_t> ProfilesOf(const LayoutImportScope& scope) {
  if (!scope.keys) return {};
  if (scope.profile) return {*scope.profile};
  return {0, 1, 2, 3};
}

}  // namespace

Layout KeypadSession::CurrentLayout(const std::map<int, MacroBuffer>& macros) {
  const KeyTextLookup texts = [this](const KeyActionRecord& record) { return KeyText(record); };
  const bool any_chord = std::any_of(chords_.begin(), chords_.end(), [](const ChordRecord& chord) {
    return std::any_of(chord.begin(), chord.end(), [](std::uint8_t byte) { return byte != 0; });
  });
  return MakeLayout(config_, texts, macros, any_chord ? std::optional(chords_) : std::nullopt, "");
}

KeyActionRecord KeypadSession::ShownRecord(std::uint8_t profile, std::size_t key) const {
  if (profile == config_.current_profile) return WorkingRecord(config_.working_profile, key);
  if (key >= kGridKeyCount) return {};
  return ReadSlot(config_.profile_image, profile, config_.key_code_map[key]);
}

void KeypadSession::SetShownRecord(std::uint8_t profile, std::size_t key,
                                   const KeyActionRecord& record) {
  if (profile == config_.current_profile) {
    SetWorkingRecord(config_.working_profile, key, record);
  } else if (key < kGridKeyCount) {
    WriteSlot(config_.profile_image, profile, config_.key_code_map[key], record);
  }
}

void KeypadSession::FreeUnheldText(const KeyActionRecord& record) {
  const std::optional<TextRef> text = TextRefOf(record);
  if (!text) return;
  for (std::uint8_t profile = 0; profile < kProfileCount; ++profile) {
    for (std::size_t key = 0; key < kGridKeyCount; ++key) {
      if (TextRefOf(ShownRecord(profile, key)) == text) return;
    }
  }
  FreeTextOf(record);
}

LayoutImportResult KeypadSession::ImportLayout(const Layout& layout,
                                               const LayoutImportScope& scope) {
  LayoutImportResult result;
  if (scope.profile && *scope.profile >= kProfileCount) {
    result.status = SessionStatus::kRefused;
    result.problems.push_back("there are profiles 1 to " + std::to_string(kProfileCount) + " only");
    return result;
  }
  const std::map<int, MacroBuffer> no_macros;
  Layout held = CurrentLayout(scope.keypad_macros != nullptr ? *scope.keypad_macros : no_macros);
  std::array<bool, kGridKeyCount> has_slot{};
  for (std::size_t key = 0; key < kGridKeyCount; ++key) {
    has_slot[key] = SlotOffset(0, config_.key_code_map[key]).has_value();
  }
  Layout planned =
      PlanLayout(held, layout, {scope.profile, scope.keypad_macros != nullptr}, has_slot);
  // Macros only: every profile stays as it is held, so no key or setting counts as a change.
  if (!scope.keys) planned.profiles = held.profiles;
  const bool takes_chords = scope.chords && scope.keys && layout.chords && !scope.profile;
  if (takes_chords) {
    held.chords = chords_;
    planned.chords = layout.chords;
  }
  std::map<int, MacroBuffer> macros = pending_macros_;
  std::vector<int> unchanged;
  for (const auto& [number, macro] : planned.macros) {
    const auto now = held.macros.find(number);
    if (now != held.macros.end() && now->second == macro) continue;
    const std::optional<MacroBuffer> buffer = LayoutMacroBuffer(number, macro);
    if (!buffer) {
      result.problems.push_back("macro " + std::to_string(number) + ": does not compile");
      continue;
    }
    // A script written otherwise than the keypad lists it may still give the same bytes.
    if (scope.keypad_macros != nullptr) {
      const auto keypad = scope.keypad_macros->find(number);
      if (keypad != scope.keypad_macros->end() && keypad->second == *buffer) {
        unchanged.push_back(number);
        continue;
      }
    }
    macros[number] = *buffer;
    result.macros.push_back(number);
  }

  for (const int number : unchanged) {
    const auto now = held.macros.find(number);
    if (now == held.macros.end()) {
      planned.macros.erase(number);
    } else {
      planned.macros[number] = now->second;
    }
  }
  result.changes = DiffLayouts(held, planned);

  const Configuration before = config_;
  // Settings: the bytes the board controls change, in the working copy or the image.
  for (const std::uint8_t profile : ProfilesOf(scope)) {
    const auto& settings = planned.profiles[profile].settings;
    const std::size_t base = profile == config_.current_profile
                                 ? kWorkingSettingsOffset
                                 : profile * kProfileSize + kSettingsOffset;
    for (std::size_t byte = 0; byte < kImportedSettingsBytes; ++byte) {
      if (profile == config_.current_profile) {
        config_.working_profile[base + byte] = settings[byte];
      } else {
        config_.profile_image[base + byte] = settings[byte];
      }
    }
  }

  // Keys: every changed expression is read first, so every problem is listed.
  std::vector<KeyChange> changes;
  for (const std::uint8_t profile : ProfilesOf(scope)) {
    for (std::size_t key = 0; key < kGridKeyCount; ++key) {
      const std::string& expression = planned.profiles[profile].keys[key];
      if (expression == held.profiles[profile].keys[key]) continue;
      const ParsedKeyExpression parsed = ParseKeyExpression(expression);
      if (!parsed.edit) {
        result.problems.push_back(LayoutKeyPlace(profile, key) + ": " + parsed.error);
        continue;
      }
      changes.push_back({profile, key, *parsed.edit});
    }
  }
  // The replaced keys let their texts go before any new text is stored, so a layout that moves
  // texts around needs no more room than it holds.
  std::vector<KeyActionRecord> replaced;
  replaced.reserve(changes.size());
  for (const KeyChange& change : changes) {
    replaced.push_back(ShownRecord(change.profile, change.key));
    SetShownRecord(change.profile, change.key, KeyActionRecord{});
  }
  for (const KeyActionRecord& record : replaced) FreeUnheldText(record);
  CollectingNotifier collected;
  const bool block_strings = StringFormatOf(config_) != StringFormat::kChained;
  for (const KeyChange& change : changes) {
    // A dry run writes nothing to the keypad, and a long string of the block format would be.
    const bool stored_at_once = change.edit.text &&
                                change.edit.text->kind == KeypadTextKind::kString &&
                                block_strings && change.edit.text->bytes.size() > kShortStringLimit;
    if (scope.dry_run && stored_at_once) {
      SetShownRecord(change.profile, change.key, change.edit.record);
      continue;
    }
    const std::optional<KeyActionRecord> record = PlaceKey(change.edit, {}, collected);
    for (const std::string& message : collected.Take()) {
      result.problems.push_back(LayoutKeyPlace(change.profile, change.key) + ": " + message);
    }
    if (record) SetShownRecord(change.profile, change.key, *record);
  }

  if (!result.problems.empty() || scope.dry_run) {
    config_ = before;
    if (!result.problems.empty()) result.status = SessionStatus::kRefused;
    return result;
  }
  pending_macros_ = std::move(macros);
  if (takes_chords) chords_ = *layout.chords;
  // The configuration as imported, with the macros the next save writes.
  std::map<int, MacroBuffer> imported_macros = known_macros_.value_or(std::map<int, MacroBuffer>{});
  for (const auto& [number, buffer] : pending_macros_) imported_macros[number] = buffer;
  KeepSnapshot(SnapshotEvent::kImport, CurrentLayout(imported_macros));
  return result;
}

}  // namespace qp40
