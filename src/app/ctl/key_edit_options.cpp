#include "app/ctl/key_edit_options.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "app/ctl/decimal_number.h"
#include "editing/key_edits.h"
#include "keys/key_words.h"
#include "keys/name_tables.h"
#include "keys/nearest_names.h"

namespace qp40::ctl {
namespace {

constexpr std::size_t kShortcutKeys = 2;
constexpr int kLargestCode = 255;

struct ModifierWord {
  std::string_view word;
  std::uint8_t bit;
};
constexpr std::array<ModifierWord, 4> kModifierWords = {{{"ctrl", kModifierCtrl},
                                                         {"shift", kModifierShift},
                                                         {"alt", kModifierAlt},
                                                         {"win", kModifierWin}}};
constexpr std::uint8_t kNoCode = 0xFF;

// The code a key name gives in the key dialog's code field; 0 for a name without one.
std::uint8_t CodeOfName(std::string_view name) {
  const WordLookupResult word = LookupWord(name);
  return word.found && word.code != kNoCode ? word.code : 0;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

bool IsKeyWord(std::string_view word) { return !word.empty() && LookupWord(word).found; }

// The parts of a shortcut between its '+' signs, with '+' itself taken as a key where a part
// is missing: "Ctrl++" is Ctrl and +, "Ctrl+Num+" is Ctrl and Num+.
std::vector<std::string> ShortcutParts(std::string_view text) {
  if (text.empty()) return {};
  std::vector<std::string> pieces;
  std::size_t start = 0;
  while (true) {
    const std::size_t plus = text.find('+', start);
    pieces.emplace_back(text.substr(start, plus - start));
    if (plus == std::string_view::npos) break;
    start = plus + 1;
  }
  std::vector<std::string> parts;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    if (!pieces[i].empty()) {
      parts.push_back(pieces[i]);
      continue;
    }
    if (i > 0 && !pieces[i - 1].empty() && IsKeyWord(parts.back() + "+")) {
      parts.back() += "+";
    } else {
      parts.emplace_back("+");
      if (i + 1 < pieces.size() && pieces[i + 1].empty()) ++i;
    }
  }
  return parts;
}

}  // namespace

std::optional<std::uint8_t> ModifierBit(std::string_view word) {
  for (const ModifierWord& modifier : kModifierWords) {
    if (EqualIgnoringCase(word, modifier.word)) return modifier.bit;
  }
  return std::nullopt;
}

ParsedEdit ShortcutOption(std::string_view text) {
  ParsedEdit parsed;
  std::uint8_t modifiers = 0;
  std::vector<std::string> keys;
  for (const std::string& part : ShortcutParts(text)) {
    if (const std::optional<std::uint8_t> bit = ModifierBit(part)) {
      modifiers |= *bit;
    } else if (IsKeyWord(part)) {
      keys.push_back(part);
    } else {
      const std::vector<std::string_view> names = KeyWordNames();
      parsed.error = UnknownName(part, "is no key name", names);
      return parsed;
    }
  }
  if (keys.size() > kShortcutKeys) {
    parsed.error =
        "'" + std::string(text) + "' holds more than two keys besides Ctrl, Shift, Alt and Win";
    return parsed;
  }
  if (keys.empty() && modifiers == 0) {
    parsed.error = "a shortcut needs a key, such as Ctrl+Alt+Del";
    return parsed;
  }
  keys.resize(kShortcutKeys);
  parsed.edit = ShortcutEdit(modifiers, CodeOfName(keys[0]), CodeOfName(keys[1]));
  return parsed;
}

ParsedEdit MediaOption(std::string_view name_or_code) {
  ParsedEdit parsed;
  const std::vector<std::string_view> names = MediaKeyNames();
  std::optional<int> code;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (names[i] == name_or_code) code = static_cast<int>(i);
  }
  if (!code) {
    if (const std::optional<int> number = DecimalInRange(name_or_code, 0, kLargestCode)) {
      code = *number;
    }
  }
  if (!code) {
    parsed.error = UnknownName(name_or_code, "is neither a media key name nor a code 0-255", names);
    return parsed;
  }
  parsed.edit = MediaEdit(static_cast<std::uint8_t>(*code));
  return parsed;
}

ParsedEdit MouseOption(std::string_view name, int x, int y) {
  ParsedEdit parsed;
  const std::vector<std::string_view> names = MouseNames();
  if (std::find(names.begin(), names.end(), name) == names.end()) {
    parsed.error = UnknownName(name, "is no mouse name", names);
    return parsed;
  }
  // The axes are given in -127..127; the record keeps their low bytes.
  parsed.edit = MouseEdit(MouseButtonByteOfName(name), static_cast<std::int8_t>(x),
                          static_cast<std::int8_t>(y));
  return parsed;
}

std::string ModifierBits(std::string_view words, std::uint8_t& modifiers) {
  if (words.empty()) return {};
  std::size_t start = 0;
  while (start <= words.size()) {
    const std::size_t comma = std::min(words.find(',', start), words.size());
    const std::string_view word = words.substr(start, comma - start);
    const std::optional<std::uint8_t> bit = ModifierBit(word);
    if (!bit) return "'" + std::string(word) + "' is none of Ctrl, Shift, Alt and Win";
    modifiers |= *bit;
    start = comma + 1;
  }
  return {};
}

ParsedEdit TextOption(KeypadTextKind kind, std::string_view utf8_text, std::string_view modifiers) {
  ParsedEdit parsed;
  std::uint8_t bits = 0;
  parsed.error = ModifierBits(modifiers, bits);
  if (parsed.error.empty()) parsed.edit = TextEdit(kind, utf8_text, bits);
  return parsed;
}

}  // namespace qp40::ctl
