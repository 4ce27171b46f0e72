#include "picture/key_face.h"

#include <array>
#include <string_view>

#include "keys/key_label.h"
#include "macros/burst_store.h"
#include "macros/string_store.h"
#include "picture/svg_text.h"

namespace qp40 {
namespace {

constexpr std::size_t kRecordModifiers = 1;
constexpr std::size_t kRecordTextIndex = 3;

struct ModifierName {
  std::uint8_t bits;
  std::string_view name;
};
constexpr std::array<ModifierName, 4> kModifierNames = {{
    {kModifierAnyCtrl, "Ctrl"},
    {kModifierAnyShift, "Shift"},
    {kModifierAnyAlt, "Alt"},
    {kModifierAnyWin, "Win"},
}};

bool HoldsModifiers(int label_class) {
  return label_class == kTypeShortcut || label_class == kTypeBurst || label_class == kTypeString;
}

// A string unit's own text, from byte 2 to its first zero byte within the unit: the whole of a
// short string in the older format.
std::string UnitText(const StringUnitTable& table, std::uint8_t unit) {
  const std::size_t start = std::size_t{unit} * kTextEntrySize;
  std::string text;
  for (std::size_t i = kUnitText; i < kUnitContinuation && table[start + i] != 0; ++i) {
    text.push_back(static_cast<char>(table[start + i]));
  }
  return text;
}

}  // namespace

std::string KeyModifierText(const KeyActionRecord& record) {
  if (!HoldsModifiers(KeyLabelClass(record[0]))) return {};
  std::string text;
  for (const ModifierName& modifier : kModifierNames) {
    if ((record[kRecordModifiers] & modifier.bits) == 0) continue;
    if (!text.empty()) text += '+';
    text += modifier.name;
  }
  return text;
}

std::optional<std::string> KeyTypedText(const KeyActionRecord& record, const Configuration& config,
                                        const StringTexts& string_texts) {
  const std::uint8_t index = record[kRecordTextIndex];
  switch (KeyLabelClass(record[0])) {
    case kTypeBurst:
      return ReadBurstText(config.burst_table, index);
    case kTypeString:
      if (const auto given = string_texts.find(index); given != string_texts.end()) {
        return given->second;
      }
      if (StringFormatOf(config) == StringFormat::kChained) {
        return ReadChainedString(config.string_unit_table, index);
      }
      return UnitText(config.string_unit_table, index);
    default:
      return std::nullopt;
  }
}

KeyFace FaceOfKey(const KeyActionRecord& record, const Configuration& config,
                  const StringTexts& string_texts, std::size_t max_characters) {
  KeyFace face;
  face.label_class = KeyLabelClass(record[0]);
  face.color_index = KeyBackgroundColorIndex(face.label_class);
  face.modifiers = XmlEscapeUtf8(KeyModifierText(record));
  std::string text;
  if (face.label_class == kTypeShortcut) {
    // The label without its modifier prefix: the key names alone.
    KeyActionRecord keys_only = record;
    keys_only[kRecordModifiers] = 0;
    text = FullKeyLabel(keys_only, config.burst_table, config.string_unit_table);
  } else if (auto typed = KeyTypedText(record, config, string_texts)) {
    text = std::move(*typed);
  } else {
    text = FullKeyLabel(record, config.burst_table, config.string_unit_table);
  }
  face.text = FittedKeypadText(text, max_characters);
  return face;
}

}  // namespace qp40
