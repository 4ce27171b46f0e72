#include "app/ctl/key_dialog_steps.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "app/ctl/decimal_number.h"
#include "keys/key_words.h"
#include "keys/name_tables.h"
#include "keys/nearest_names.h"

namespace qp40::ctl {
namespace {

constexpr std::size_t kShortcutKeys = 2;
constexpr int kLargestCode = 255;

struct ModifierWord {
  std::string_view word;
  int box;
};
constexpr std::array<ModifierWord, 4> kModifierWords = {
    {{"ctrl", kIdKeyCtrl}, {"shift", kIdKeyShift}, {"alt", kIdKeyAlt}, {"win", kIdKeyWin}}};

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

KeyAttributeLogic::ConfirmOutcome RunSteps(KeyAttributeLogic& dialog, const KeyDialogSteps& steps) {
  dialog.SelectType(steps.type);
  for (const int box : steps.checked) dialog.SetChecked(box, true);
  for (const auto& [id, text] : steps.fields) dialog.EditField(id, text);
  if (steps.stop_mode) dialog.SelectStopMode(*steps.stop_mode);
  return dialog.Confirm();
}

std::string UnknownName(std::string_view word, std::string_view what,
                        std::span<const std::string_view> names) {
  std::string message = "'" + std::string(word) + "' " + std::string(what);
  const std::vector<std::string_view> nearest = NearestNames(word, names);
  for (std::size_t i = 0; i < nearest.size(); ++i) {
    message += (i == 0 ? "; did you mean " : ", ") + std::string(nearest[i]);
  }
  return message + (nearest.empty() ? "" : "?");
}

std::optional<int> ModifierBox(std::string_view word) {
  for (const ModifierWord& modifier : kModifierWords) {
    if (EqualIgnoringCase(word, modifier.word)) return modifier.box;
  }
  return std::nullopt;
}

ParsedSteps ShortcutSteps(std::string_view text) {
  ParsedSteps parsed;
  parsed.steps.type = kTypeShortcut;
  std::vector<std::string> keys;
  for (const std::string& part : ShortcutParts(text)) {
    if (const std::optional<int> box = ModifierBox(part)) {
      parsed.steps.checked.push_back(*box);
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
  } else if (keys.empty() && parsed.steps.checked.empty()) {
    parsed.error = "a shortcut needs a key, such as Ctrl+Alt+Del";
  }
  const std::array<int, kShortcutKeys> fields = {kIdKeyName2, kIdKeyName3};
  for (std::size_t i = 0; i < keys.size() && i < kShortcutKeys; ++i) {
    parsed.steps.fields.emplace_back(fields[i], keys[i]);
  }
  return parsed;
}

ParsedSteps MediaSteps(std::string_view name_or_code) {
  ParsedSteps parsed;
  parsed.steps.type = kTypeMultimedia;
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
  // As the screen keyboard's media buttons do: the name, and the code in the code field. A code
  // beyond the table has no name.
  parsed.steps.fields = {{kIdKeyName1, std::string(MediaKeyName(static_cast<std::size_t>(*code)))},
                         {kIdKeyCode1, std::to_string(*code)}};
  return parsed;
}

ParsedSteps MouseSteps(std::string_view name, int x, int y) {
  ParsedSteps parsed;
  parsed.steps.type = kTypeMouse;
  const std::vector<std::string_view> names = MouseNames();
  if (std::find(names.begin(), names.end(), name) == names.end()) {
    parsed.error = UnknownName(name, "is no mouse name", names);
    return parsed;
  }
  parsed.steps.fields = {{kIdKeyName1, std::string(name)},
                         {kIdKeyName2, std::to_string(x)},
                         {kIdKeyName3, std::to_string(y)}};
  return parsed;
}

std::string TickModifiers(std::string_view words, std::vector<int>& boxes) {
  if (words.empty()) return {};
  std::size_t start = 0;
  while (start <= words.size()) {
    const std::size_t comma = std::min(words.find(',', start), words.size());
    const std::string_view word = words.substr(start, comma - start);
    const std::optional<int> box = ModifierBox(word);
    if (!box) return "'" + std::string(word) + "' is none of Ctrl, Shift, Alt and Win";
    boxes.push_back(*box);
    start = comma + 1;
  }
  return {};
}

ParsedSteps TextSteps(int type, std::string_view utf8_text, std::string_view modifiers) {
  ParsedSteps parsed;
  parsed.steps.type = type;
  parsed.error = TickModifiers(modifiers, parsed.steps.checked);
  parsed.steps.fields = {{kIdKeyName1, std::string(utf8_text)}};
  return parsed;
}

KeyDialogSteps MacroSteps(int macro, int stop_mode) {
  return {kTypeMacro, {{kIdKeyName1, std::to_string(macro)}}, {}, stop_mode};
}

KeyDialogSteps ToolSteps(int code) {
  return {kTypeTool, {{kIdKeyCode1, std::to_string(code)}}, {}, std::nullopt};
}

KeyDialogSteps DisableSteps() { return {kTypeDisabled, {}, {}, std::nullopt}; }

}  // namespace qp40::ctl
