#include "layout/key_expression.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <system_error>
#include <vector>

#include "editing/key_edits.h"
#include "keys/key_text.h"
#include "keys/key_words.h"
#include "keys/name_tables.h"
#include "keys/nearest_names.h"
#include "layout/quoted_text.h"

namespace qp40 {
namespace {

constexpr std::size_t kShortcutKeys = 2;
constexpr int kLargestByte = 255;
constexpr int kSmallestSigned = -128;
constexpr int kLargestSigned = 127;
constexpr int kLargestMacro = 31;
constexpr std::uint8_t kFirstProfileTool = 16;
constexpr int kProfileTools = 8;
constexpr std::size_t kMouseButtonCount = 8;

// Words of the expression; a kind ends in ':' where it is written.
constexpr std::string_view kKeyKind = "key";
constexpr std::string_view kShortcutKind = "shortcut";
constexpr std::string_view kMediaKind = "media";
constexpr std::string_view kMouseKind = "mouse";
constexpr std::string_view kMacroKind = "macro";
constexpr std::string_view kStringKind = "string";
constexpr std::string_view kBurstKind = "burst";
constexpr std::string_view kToolKind = "tool";
constexpr std::string_view kProfileKind = "profile";
constexpr std::string_view kRecordKind = "record";
constexpr std::string_view kDisabledWord = "disabled";
constexpr std::string_view kNoKeysWord = "none";
constexpr std::string_view kPaceSuffix = "/pace=";
constexpr std::string_view kMoveName = "Move";
constexpr std::string_view kWheelName = "Wheel";

// Modifier names in bit order of the modifier byte.
constexpr std::array<std::string_view, 8> kModifierNames = {"Ctrl",   "Shift",   "Alt",   "Win",
                                                            "Ctrl_R", "Shift_R", "Alt_R", "Win_R"};
// Mouse buttons in bit order of the mouse button byte.
constexpr std::array<std::string_view, kMouseButtonCount> kMouseButtonNames = {
    "Left", "Right", "Middle", "Button4", "Button5", "Button6", "Button7", "Button8"};
constexpr std::array<std::string_view, 3> kStopModeWords = {"auto", "second", "release"};
constexpr std::uint8_t kDefaultStopMode = 2;

// The reserved types and Null, written with their three operands.
struct OperandKind {
  std::string_view word;
  std::uint8_t code;
};
constexpr std::array<OperandKind, 4> kOperandKinds = {{{"reserved9", kActionReserved9},
                                                       {"reservedA", kActionReservedA},
                                                       {"reservedB", kActionReservedB},
                                                       {"null", kActionNull}}};

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

std::optional<std::uint8_t> ModifierBitOf(std::string_view word) {
  for (std::size_t bit = 0; bit < kModifierNames.size(); ++bit) {
    if (EqualIgnoringCase(word, kModifierNames[bit])) return static_cast<std::uint8_t>(1U << bit);
  }
  return std::nullopt;
}

std::optional<int> Decimal(std::string_view text, int smallest, int largest) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return {};
  if (value < smallest || value > largest) return std::nullopt;
  return value;
}

// The code a key word names, when the word lookup finds it; the empty word names no key.
std::optional<std::uint8_t> KeyWordCode(std::string_view word) {
  if (word.empty()) return std::nullopt;
  const WordLookupResult result = LookupWord(word);
  if (!result.found) return std::nullopt;
  return result.code;
}

std::string UnknownKeyWord(std::string_view word) {
  const std::vector<std::string_view> names = KeyWordNames();
  return UnknownName(word, "is no key name", names);
}

// --- Formatting ---

// A key code as one key of an expression: its key word where that word gives the code back,
// quoted where it could be read as something else; key:N otherwise.
std::string KeyToken(std::uint8_t code, bool in_shortcut) {
  const std::string_view name = CodeToName(code, "");
  if (!name.empty() && KeyWordCode(name) == code) {
    const bool modifier_like = in_shortcut && ModifierBitOf(name).has_value();
    if (NeedsQuotes(name) || modifier_like) return QuoteKeypadBytes(name);
    return std::string(name);
  }
  return std::string(kKeyKind) + ":" + std::to_string(code);
}

std::vector<std::string> ModifierParts(std::uint8_t modifiers) {
  std::vector<std::string> parts;
  for (std::size_t bit = 0; bit < kModifierNames.size(); ++bit) {
    if ((modifiers >> bit) & 1U) parts.emplace_back(kModifierNames[bit]);
  }
  return parts;
}

std::string Joined(const std::vector<std::string>& parts, std::string_view between) {
  std::string text;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) text += between;
    text += parts[i];
  }
  return text;
}

std::string ModifierPrefix(std::uint8_t modifiers) {
  std::string prefix;
  for (const std::string& part : ModifierParts(modifiers)) prefix += part + "+";
  return prefix;
}

std::string RecordExpression(const KeyActionRecord& record) {
  constexpr std::string_view kHex = "0123456789ABCDEF";
  constexpr unsigned kNibble = 4;
  constexpr unsigned kLowNibble = 0x0F;
  std::string text = std::string(kRecordKind) + ":";
  for (const std::uint8_t byte : record) {
    text += kHex[byte >> kNibble];
    text += kHex[byte & kLowNibble];
  }
  return text;
}

std::string Signed(std::uint8_t byte) { return std::to_string(static_cast<std::int8_t>(byte)); }

std::string MouseExpression(std::uint8_t buttons, std::uint8_t x, std::uint8_t y) {
  std::string text = std::string(kMouseKind) + ":";
  const std::string both = "(" + Signed(x) + "," + Signed(y) + ")";
  if (buttons == kMouseMove) return text + std::string(kMoveName) + both;
  if (buttons == kMouseWheel) {
    return text + std::string(kWheelName) + (x == 0 ? "(" + Signed(y) + ")" : both);
  }
  std::vector<std::string> names;
  for (std::size_t bit = 0; bit < kMouseButtonNames.size(); ++bit) {
    if ((buttons >> bit) & 1U) names.emplace_back(kMouseButtonNames[bit]);
  }
  return text + Joined(names, "+") + (x == 0 && y == 0 ? "" : both);
}

std::string ShortcutExpression(std::uint8_t modifiers, std::uint8_t key1, std::uint8_t key2) {
  std::vector<std::string> parts = ModifierParts(modifiers);
  if (key1 != 0 || key2 != 0) parts.push_back(KeyToken(key1, true));
  if (key2 != 0) parts.push_back(KeyToken(key2, true));
  const bool plain = modifiers != 0 && (key1 != 0 || key2 != 0);
  if (plain) return Joined(parts, "+");
  if (parts.empty()) return std::string(kShortcutKind) + ":" + std::string(kNoKeysWord);
  return std::string(kShortcutKind) + ":" + Joined(parts, "+");
}

std::optional<std::string> ToolExpression(std::uint8_t code) {
  if (code >= kFirstProfileTool && code < kFirstProfileTool + kProfileTools) {
    return std::string(kProfileKind) + ":" + std::to_string(code - kFirstProfileTool + 1);
  }
  const std::string_view name = CodeToName(code, "");
  if (IsToolKeyCode(code) && KeyWordCode(name) == code) {
    return std::string(kToolKind) + ":" + std::string(name);
  }
  return std::string(kToolKind) + ":" + std::to_string(code);
}

bool IsModifierKeyCode(std::uint8_t code) {
  return code >= kFirstModifierCode && code <= kLastModifierCode;
}

// The expression of a record, or nothing when no written form but record:… gives it back.
std::optional<std::string> StructuredExpression(const KeyActionRecord& record,
                                                const std::optional<std::string>& text) {
  const auto [b0, b1, b2, b3] = record;
  switch (b0) {
    case kActionKey:
      if (b2 != 0 || b3 != 0 || IsToolKeyCode(b1) || IsModifierKeyCode(b1)) return std::nullopt;
      return KeyToken(b1, false);
    case kActionModifierKey:
      if (!IsModifierKeyCode(b2) || b1 != (1U << (b2 - kFirstModifierCode)) || b3 != 0) {
        return std::nullopt;
      }
      return KeyToken(b2, false);
    case kActionMedia:
      if (b2 != 0 || b3 != 0) return std::nullopt;
      return std::string(kMediaKind) + ":" +
             (b1 < kMediaKeyCount ? std::string(MediaKeyName(b1)) : std::to_string(b1));
    case kActionMouse:
      return MouseExpression(b1, b2, b3);
    case kActionShortcut:
      return ShortcutExpression(b1, b2, b3);
    case kActionBurst:
      if (b2 != 0 || !text) return std::nullopt;
      return ModifierPrefix(b1) + std::string(kBurstKind) + ":" + QuoteKeypadBytes(*text);
    case kActionString: {
      if (!text) return std::nullopt;
      std::string expression =
          ModifierPrefix(b1) + std::string(kStringKind) + ":" + QuoteKeypadBytes(*text);
      if (b2 != PaceValue(text->size())) {
        expression += std::string(kPaceSuffix) + std::to_string(b2);
      }
      return expression;
    }
    case kActionMacro:
      if (b1 > kLargestMacro || b2 != 0 || b3 >= kStopModeWords.size()) return std::nullopt;
      return std::string(kMacroKind) + ":" + std::to_string(b1) + "/" +
             std::string(kStopModeWords[b3]);
    case kActionTool:
      if (b2 != 0 || b3 != 0) return std::nullopt;
      return ToolExpression(b1);
    case kActionDisabled:
      if (b1 != 0 || b2 != 0 || b3 != 0) return std::nullopt;
      return std::string(kDisabledWord);
    default:
      break;
  }
  for (const OperandKind& kind : kOperandKinds) {
    if (kind.code == b0) {
      return std::string(kind.word) + ":" + std::to_string(b1) + "," + std::to_string(b2) + "," +
             std::to_string(b3);
    }
  }
  return std::nullopt;
}

// --- Parsing ---

ParsedKeyExpression Edit(KeyEdit edit) { return {std::move(edit), {}}; }
ParsedKeyExpression Error(std::string message) { return {std::nullopt, std::move(message)}; }

// A record written as 8 hex digits, either case.
std::optional<KeyActionRecord> HexRecord(std::string_view text) {
  const bool hex = text.size() == 2 * sizeof(KeyActionRecord) &&
                   std::all_of(text.begin(), text.end(), [](char c) {
                     return std::isxdigit(static_cast<unsigned char>(c)) != 0;
                   });
  return hex ? ParseKeyText(text) : std::nullopt;
}

ParsedKeyExpression RecordEdit(const KeyActionRecord& record) {
  return Edit(KeyEdit{record, std::nullopt});
}

// One part of a shortcut between '+' signs: its text and whether it was quoted.
struct ShortcutPart {
  std::string text;
  bool quoted = false;
};

// The parts of a shortcut, '+' itself taken as a key where a part is missing: "Ctrl++" is Ctrl
// and +, "Ctrl+Num+" is Ctrl and Num+. Nothing when a quote is not closed or text follows one.
std::optional<std::vector<ShortcutPart>> ShortcutParts(std::string_view text) {
  std::vector<ShortcutPart> pieces;
  std::size_t start = 0;
  while (true) {
    ShortcutPart piece;
    std::size_t end = start;
    if (start < text.size() && text[start] == '"') {
      const std::optional<UnquotedText> unquoted = Unquote(text, start);
      if (!unquoted) return std::nullopt;
      piece = {unquoted->utf8, true};
      end = unquoted->end;
      if (end < text.size() && text[end] != '+') return std::nullopt;
    } else {
      end = std::min(text.find('+', start), text.size());
      piece.text = std::string(text.substr(start, end - start));
    }
    pieces.push_back(piece);
    if (end >= text.size()) break;
    start = end + 1;
  }
  std::vector<ShortcutPart> parts;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    if (pieces[i].quoted || !pieces[i].text.empty()) {
      parts.push_back(pieces[i]);
      continue;
    }
    const bool joins = i > 0 && !parts.empty() && !parts.back().quoted &&
                       !pieces[i - 1].text.empty() && KeyWordCode(parts.back().text + "+");
    if (joins) {
      parts.back().text += "+";
    } else {
      parts.push_back({"+", false});
      if (i + 1 < pieces.size() && !pieces[i + 1].quoted && pieces[i + 1].text.empty()) ++i;
    }
  }
  return parts;
}

// The code of one key of a shortcut: a key word (quoted or not) or key:N.
std::optional<std::uint8_t> KeyPartCode(const ShortcutPart& part, std::string& error) {
  if (!part.quoted && part.text.starts_with(std::string(kKeyKind) + ":")) {
    const std::optional<int> code =
        Decimal(std::string_view(part.text).substr(kKeyKind.size() + 1), 0, kLargestByte);
    if (!code) error = "'" + part.text + "' needs a key code 0-255 after key:";
    return code;
  }
  const std::optional<std::uint8_t> code = KeyWordCode(part.text);
  if (!code) error = UnknownKeyWord(part.text);
  return code;
}

ParsedKeyExpression ParseShortcut(std::string_view body) {
  if (body == kNoKeysWord) return Edit(ShortcutEdit(0, 0, 0));
  const std::optional<std::vector<ShortcutPart>> parts = ShortcutParts(body);
  if (!parts || body.empty()) return Error("'" + std::string(body) + "' is no shortcut");
  std::uint8_t modifiers = 0;
  std::vector<std::uint8_t> keys;
  for (const ShortcutPart& part : *parts) {
    const std::optional<std::uint8_t> bit = part.quoted ? std::nullopt : ModifierBitOf(part.text);
    if (bit) {
      modifiers |= *bit;
      continue;
    }
    std::string error;
    const std::optional<std::uint8_t> code = KeyPartCode(part, error);
    if (!code) return Error(error);
    keys.push_back(*code);
  }
  if (keys.size() > kShortcutKeys) {
    return Error("'" + std::string(body) + "' holds more than two keys besides the modifiers");
  }
  keys.resize(kShortcutKeys);
  return Edit(ShortcutEdit(modifiers, keys[0], keys[1]));
}

ParsedKeyExpression ParseMedia(std::string_view body) {
  const std::vector<std::string_view> names = MediaKeyNames();
  for (std::size_t code = 0; code < names.size(); ++code) {
    if (names[code] == body) return Edit(MediaEdit(static_cast<std::uint8_t>(code)));
  }
  if (const std::optional<int> code = Decimal(body, 0, kLargestByte)) {
    return Edit(MediaEdit(static_cast<std::uint8_t>(*code)));
  }
  return Error(UnknownName(body, "is neither a media key name nor a code 0-255", names));
}

std::optional<std::uint8_t> MouseButtonsOf(std::string_view names) {
  if (names == kMoveName) return kMouseMove;
  if (names == kWheelName) return kMouseWheel;
  std::uint8_t buttons = 0;
  std::size_t start = 0;
  while (start <= names.size()) {
    const std::size_t end = std::min(names.find('+', start), names.size());
    const auto found = std::find(kMouseButtonNames.begin(), kMouseButtonNames.end(),
                                 names.substr(start, end - start));
    if (found == kMouseButtonNames.end()) return std::nullopt;
    buttons |= static_cast<std::uint8_t>(1U << (found - kMouseButtonNames.begin()));
    start = end + 1;
  }
  return buttons;
}

ParsedKeyExpression ParseMouse(std::string_view body) {
  const std::size_t open = std::min(body.find('('), body.size());
  const std::string_view names = body.substr(0, open);
  const std::optional<std::uint8_t> buttons = MouseButtonsOf(names);
  if (!buttons) {
    constexpr std::array<std::string_view, 10> kAll = {"Left",    "Right",   "Middle",  "Button4",
                                                       "Button5", "Button6", "Button7", "Button8",
                                                       "Wheel",   "Move"};
    return Error(UnknownName(names, "is no mouse button (Left+Right, Wheel, Move, ...)", kAll));
  }
  int x = 0;
  int y = 0;
  if (open < body.size()) {
    if (body.back() != ')') return Error("'" + std::string(body) + "' misses its ')'");
    const std::string_view inside = body.substr(open + 1, body.size() - open - 2);
    const std::size_t comma = inside.find(',');
    const std::optional<int> first =
        Decimal(inside.substr(0, comma), kSmallestSigned, kLargestSigned);
    std::optional<int> second;
    if (comma != std::string_view::npos) {
      second = Decimal(inside.substr(comma + 1), kSmallestSigned, kLargestSigned);
    } else if (*buttons == kMouseWheel) {
      second = first;  // the wheel's one number is its movement
      x = 0;
    }
    if (!first || !second) {
      return Error("'" + std::string(body) + "' needs movements -128..127 as (x,y)" +
                   (*buttons == kMouseWheel ? " or (wheel)" : ""));
    }
    if (comma != std::string_view::npos) x = *first;
    y = *second;
  }
  return Edit(MouseEdit(*buttons, static_cast<std::int8_t>(x), static_cast<std::int8_t>(y)));
}

ParsedKeyExpression ParseMacro(std::string_view body) {
  const std::size_t slash = body.find('/');
  const std::optional<int> number = Decimal(body.substr(0, slash), 0, kLargestMacro);
  if (!number) return Error("'" + std::string(body) + "' needs a macro number 0-31");
  std::uint8_t stop_mode = kDefaultStopMode;
  if (slash != std::string_view::npos) {
    const std::string_view word = body.substr(slash + 1);
    const auto found = std::find(kStopModeWords.begin(), kStopModeWords.end(), word);
    if (found == kStopModeWords.end()) {
      return Error("'" + std::string(word) + "' is no stop mode (auto, second, release)");
    }
    stop_mode = static_cast<std::uint8_t>(found - kStopModeWords.begin());
  }
  return Edit(MacroEdit(static_cast<std::uint8_t>(*number), stop_mode));
}

ParsedKeyExpression ParseText(KeypadTextKind kind, std::uint8_t modifiers, std::string_view body) {
  const std::optional<UnquotedText> text = Unquote(body, 0);
  if (!text) {
    return Error("'" + std::string(body) + "' needs a text in double quotes, such as \"Hello\"");
  }
  KeyEdit edit = TextEdit(kind, text->utf8, modifiers);
  const std::string_view rest = body.substr(text->end);
  if (rest.empty()) return Edit(std::move(edit));
  if (kind == KeypadTextKind::kString && rest.starts_with(kPaceSuffix)) {
    const std::optional<int> pace = Decimal(rest.substr(kPaceSuffix.size()), 0, kLargestByte);
    if (pace) {
      edit.record[kKeyTextHighByte] = static_cast<std::uint8_t>(*pace);
      return Edit(std::move(edit));
    }
  }
  return Error("'" + std::string(rest) + "' follows the text");
}

ParsedKeyExpression ParseTool(std::string_view body) {
  if (const std::optional<int> code = Decimal(body, 0, kLargestByte)) {
    return Edit(ToolEdit(static_cast<std::uint8_t>(*code)));
  }
  if (const std::optional<std::uint8_t> code = KeyWordCode(body)) return Edit(ToolEdit(*code));
  return Error(UnknownKeyWord(body));
}

ParsedKeyExpression ParseProfile(std::string_view body) {
  const std::optional<int> profile = Decimal(body, 1, kProfileTools);
  if (!profile) return Error("'" + std::string(body) + "' needs a profile 1-8");
  return Edit(ToolEdit(static_cast<std::uint8_t>(kFirstProfileTool + *profile - 1)));
}

ParsedKeyExpression ParseOperands(std::uint8_t code, std::string_view body) {
  KeyActionRecord record{code, 0, 0, 0};
  std::size_t start = 0;
  for (std::size_t i = 1; i < record.size(); ++i) {
    const std::size_t comma = i + 1 < record.size() ? body.find(',', start) : body.size();
    if (comma == std::string_view::npos) break;
    const std::optional<int> value = Decimal(body.substr(start, comma - start), 0, kLargestByte);
    if (!value) break;
    record[i] = static_cast<std::uint8_t>(*value);
    if (i + 1 == record.size()) return RecordEdit(record);
    start = comma + 1;
  }
  return Error("'" + std::string(body) + "' needs three operands 0-255 such as 1,2,3");
}

// Kinds written before ':' and the parser of what follows.
ParsedKeyExpression ParseKind(std::string_view kind, std::string_view body) {
  if (kind == kKeyKind) {
    const std::optional<int> code = Decimal(body, 0, kLargestByte);
    if (!code) return Error("'" + std::string(body) + "' is no key code 0-255");
    return Edit(KeyboardEdit(static_cast<std::uint8_t>(*code)));
  }
  if (kind == kShortcutKind) return ParseShortcut(body);
  if (kind == kMediaKind) return ParseMedia(body);
  if (kind == kMouseKind) return ParseMouse(body);
  if (kind == kMacroKind) return ParseMacro(body);
  if (kind == kToolKind) return ParseTool(body);
  if (kind == kProfileKind) return ParseProfile(body);
  if (kind == kRecordKind) {
    const std::optional<KeyActionRecord> record = HexRecord(body);
    if (!record) return Error("'" + std::string(body) + "' is no record of 8 hex digits");
    return RecordEdit(*record);
  }
  for (const OperandKind& operands : kOperandKinds) {
    if (kind == operands.word) return ParseOperands(operands.code, body);
  }
  return Error("'" + std::string(kind) +
               ":' is no kind of key (key, shortcut, media, mouse, macro, string, burst, tool, "
               "profile, record, reserved9, reservedA, reservedB, null)");
}

bool IsKindWord(std::string_view word) {
  return !word.empty() && std::all_of(word.begin(), word.end(), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0;
  });
}

}  // namespace

std::string FormatKeyExpression(const KeyActionRecord& record,
                                const std::optional<std::string>& text) {
  return StructuredExpression(record, text).value_or(RecordExpression(record));
}

ParsedKeyExpression ParseKeyExpression(std::string_view expression) {
  if (expression.empty()) return Error("an empty text is no key");
  // Today's forms first: 8 hex digits, or a key word alone ("Num+" holds a '+').
  if (const std::optional<KeyActionRecord> record = HexRecord(expression)) {
    return RecordEdit(*record);
  }
  if (const std::optional<std::uint8_t> code = KeyWordCode(expression)) {
    return Edit(KeyboardEdit(*code));
  }
  if (expression.front() == '"') {
    const std::optional<UnquotedText> word = Unquote(expression, 0);
    if (!word || word->end != expression.size()) {
      return Error("'" + std::string(expression) + "' is no quoted key name");
    }
    if (const std::optional<std::uint8_t> code = KeyWordCode(word->utf8)) {
      return Edit(KeyboardEdit(*code));
    }
    return Error(UnknownKeyWord(word->utf8));
  }
  if (expression == kDisabledWord) return Edit(DisabledEdit());

  // Modifiers in front: of a string, a burst or a shortcut.
  std::uint8_t modifiers = 0;
  std::string_view rest = expression;
  for (std::size_t plus = rest.find('+'); plus != std::string_view::npos; plus = rest.find('+')) {
    const std::optional<std::uint8_t> bit = ModifierBitOf(rest.substr(0, plus));
    if (!bit) break;
    modifiers |= *bit;
    rest = rest.substr(plus + 1);
  }
  const std::size_t colon = rest.find(':');
  const std::string_view kind =
      colon == std::string_view::npos ? std::string_view() : rest.substr(0, colon);
  if (IsKindWord(kind)) {
    const std::string_view body = rest.substr(colon + 1);
    if (kind == kStringKind) return ParseText(KeypadTextKind::kString, modifiers, body);
    if (kind == kBurstKind) return ParseText(KeypadTextKind::kBurst, modifiers, body);
    if (modifiers == 0) return ParseKind(kind, body);
  }
  if (modifiers != 0 || expression.find('+') != std::string_view::npos) {
    return ParseShortcut(expression);
  }
  return Error(UnknownKeyWord(expression));
}

}  // namespace qp40
