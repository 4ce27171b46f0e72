#include "layout/layout_file.h"

#include <algorithm>
#include <cctype>
#include <exception>
#include <fstream>
#include <span>
#include <system_error>

#include <nlohmann/json.hpp>

#include "editing/key_edit.h"
#include "keys/board_settings_names.h"
#include "layout/key_expression.h"
#include "macros/burst_store.h"
#include "macros/macro_listing.h"
#include "macros/script_compiler.h"
#include "macros/string_store.h"
#include "model/profile_ops.h"

namespace qp40 {
namespace {

using Json = nlohmann::ordered_json;

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kHexDigits = "0123456789ABCDEF";
constexpr unsigned kNibble = 4;
constexpr unsigned kLowNibble = 0x0F;
constexpr int kMacroCount = 32;

struct SettingField {
  const char* name;
  std::size_t byte;
  const BoardSettingList& (*list)();
};
const std::array<SettingField, 3> kSettingFields = {{{"board", kSettingBoardType, BoardTypeList},
                                                     {"path", kSettingPathType, PathTypeList},
                                                     {"usb", kSettingUsbType, UsbTypeList}}};
struct FeatureField {
  const char* name;
  std::size_t byte;
  BoardFeature feature;
};
constexpr std::array<FeatureField, 3> kFeatureFields = {
    {{"typing", kSettingTyping, BoardFeature::kTyping},
     {"backlight", kSettingBacklight, BoardFeature::kBacklight},
     {"sticky", kSettingSticky, BoardFeature::kSticky}}};

std::string Hex(std::span<const std::uint8_t> bytes) {
  std::string text;
  for (const std::uint8_t byte : bytes) {
    text += kHexDigits[byte >> kNibble];
    text += kHexDigits[byte & kLowNibble];
  }
  return text;
}

template <std::size_t N>
std::optional<std::array<std::uint8_t, N>> FromHex(std::string_view text) {
  if (text.size() != 2 * N) return std::nullopt;
  std::array<std::uint8_t, N> bytes{};
  for (std::size_t i = 0; i < N; ++i) {
    const auto high =
        kHexDigits.find(static_cast<char>(std::toupper(static_cast<unsigned char>(text[2 * i]))));
    const auto low = kHexDigits.find(
        static_cast<char>(std::toupper(static_cast<unsigned char>(text[2 * i + 1]))));
    if (high == std::string_view::npos || low == std::string_view::npos) return std::nullopt;
    bytes[i] = static_cast<std::uint8_t>((high << kNibble) | low);
  }
  return bytes;
}

bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

// A number key of "macros" or "chords": one or two digits.
int NumberKey(const std::string& key, int none) {
  if (key.empty() || key.size() > 2 || !std::all_of(key.begin(), key.end(), IsDigit)) return none;
  return std::stoi(key);
}

std::vector<std::string> SplitLines(std::string_view script) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < script.size()) {
    const std::size_t end = std::min(script.find(kCrLf, start), script.size());
    lines.emplace_back(script.substr(start, end - start));
    start = end + kCrLf.size();
  }
  return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string script;
  for (const std::string& line : lines) script += line + std::string(kCrLf);
  return script;
}

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// One JSON string, as nlohmann escapes it.
std::string Quoted(std::string_view text) { return Json(std::string(text)).dump(); }

std::string Indent(int level) { return std::string(2 * static_cast<std::size_t>(level), ' '); }

// A setting's value: its name where the list names it, else the byte as a number.
std::string SettingValue(const SettingField& field, std::uint8_t value) {
  const BoardSettingChoice* choice = field.list().Find(value);
  return choice != nullptr ? Quoted(choice->name) : std::to_string(value);
}

void WriteProfile(std::string& out, int number, const LayoutProfile& profile) {
  out += Indent(2) + "{\n";
  out += Indent(3) + "\"profile\": " + std::to_string(number) + ",\n";
  out += Indent(3) + "\"settings\": {\n";
  const std::vector<std::pair<std::string, std::string>> settings = SettingTexts(profile.settings);
  for (std::size_t i = 0; i < settings.size(); ++i) {
    out += Indent(4) + Quoted(settings[i].first) + ": " + settings[i].second +
           (i + 1 < settings.size() ? ",\n" : "\n");
  }
  out += Indent(3) + "},\n";
  out += Indent(3) + "\"keys\": [\n";
  for (int row = 0; row < kGridRowCount; ++row) {
    out += Indent(4) + "[";
    for (int column = 0; column < kGridColumnCount; ++column) {
      if (column > 0) out += ", ";
      out += Quoted(profile.keys[static_cast<std::size_t>(row) * kGridColumnCount +
                                 static_cast<std::size_t>(column)]);
    }
    out += row + 1 < kGridRowCount ? "],\n" : "]\n";
  }
  out += Indent(3) + "]\n";
  out += Indent(2) + "}";
}

void WriteMacros(std::string& out, const std::map<int, LayoutMacro>& macros) {
  out += Indent(1) + "\"macros\": {";
  bool first = true;
  for (const auto& [number, macro] : macros) {
    out += first ? "\n" : ",\n";
    first = false;
    out += Indent(2) + Quoted(std::to_string(number)) + ": ";
    if (macro.buffer) {
      out += Quoted(LayoutMacroHex(*macro.buffer));
      continue;
    }
    out += "[";
    for (std::size_t i = 0; i < macro.lines.size(); ++i) {
      out += (i == 0 ? "\n" : ",\n") + Indent(3) + Quoted(macro.lines[i]);
    }
    out += macro.lines.empty() ? "]" : "\n" + Indent(2) + "]";
  }
  out += first ? "}" : "\n" + Indent(1) + "}";
}

void WriteChords(std::string& out, const ChordTable& chords) {
  out += Indent(1) + "\"chords\": {";
  bool first = true;
  for (std::size_t i = 0; i < chords.size(); ++i) {
    if (std::all_of(chords[i].begin(), chords[i].end(), [](std::uint8_t b) { return b == 0; })) {
      continue;
    }
    out += first ? "\n" : ",\n";
    first = false;
    out += Indent(2) + Quoted(std::to_string(i + 1)) + ": " + Quoted(Hex(chords[i]));
  }
  out += first ? "}" : "\n" + Indent(1) + "}";
}

// --- Reading ---

// Collects problems with their place.
class Problems {
 public:
  void Add(const std::string& place, const std::string& text) {
    list_.push_back(place.empty() ? text : place + ": " + text);
  }
  std::vector<std::string> Take() { return std::move(list_); }
  bool Empty() const { return list_.empty(); }

 private:
  std::vector<std::string> list_;
};

std::string ProfilePlace(int profile) { return "profile " + std::to_string(profile + 1); }

std::optional<std::uint8_t> ReadSetting(const SettingField& field, const Json& value,
                                        const std::string& place, Problems& problems) {
  if (value.is_number_unsigned() && value.get<unsigned>() <= 0xFF) {
    return static_cast<std::uint8_t>(value.get<unsigned>());
  }
  if (value.is_string()) {
    const std::string name = value.get<std::string>();
    for (const BoardSettingChoice& choice : field.list().Choices()) {
      if (name == choice.name) return choice.value;
    }
    std::string names;
    for (const BoardSettingChoice& choice : field.list().Choices()) {
      names += (names.empty() ? "" : ", ") + std::string("\"") + choice.name + "\"";
    }
    problems.Add(place, "'" + name + "' is no " + field.name + " type (" + names + ")");
    return std::nullopt;
  }
  problems.Add(place, std::string(field.name) + " needs a name or a number 0-255");
  return std::nullopt;
}

void ReadSettings(const Json& settings, LayoutProfile& profile, int number, Problems& problems) {
  const std::string place = ProfilePlace(number) + ", settings";
  if (!settings.is_object()) {
    problems.Add(place, "needs an object");
    return;
  }
  for (const SettingField& field : kSettingFields) {
    if (!settings.contains(field.name)) {
      problems.Add(place, std::string("misses \"") + field.name + "\"");
    } else if (auto value = ReadSetting(field, settings[field.name], place, problems)) {
      profile.settings[field.byte] = *value;
    }
  }
  for (const FeatureField& field : kFeatureFields) {
    const Json* value = settings.contains(field.name) ? &settings[field.name] : nullptr;
    if (value != nullptr && value->is_boolean()) {
      profile.settings[field.byte] = value->get<bool>() ? FeatureOnValue(field.feature) : 0;
    } else if (value != nullptr && value->is_number_unsigned() && value->get<unsigned>() <= 0xFF) {
      profile.settings[field.byte] = static_cast<std::uint8_t>(value->get<unsigned>());
    } else {
      problems.Add(place, std::string("\"") + field.name + "\" needs true or false");
    }
  }
  constexpr std::size_t kRestSize = kSettingsSize - kSettingSticky - 1;
  const auto rest = settings.contains("bytes") && settings["bytes"].is_string()
                        ? FromHex<kRestSize>(settings["bytes"].get<std::string>())
                        : std::nullopt;
  if (!rest) {
    problems.Add(place, "\"bytes\" needs " + std::to_string(2 * kRestSize) + " hex digits");
    return;
  }
  std::copy(rest->begin(), rest->end(), profile.settings.begin() + kSettingSticky + 1);
}

// A text longer than its table keeps is refused: nothing of a layout is ever cut.
void CheckText(const KeyEdit& edit, const std::string& place, Problems& problems) {
  if (!edit.text) return;
  const bool burst = edit.text->kind == KeypadTextKind::kBurst;
  const std::size_t limit = burst ? kMaxBurstLength : kMaxStringLength;
  if (edit.text->bytes.size() > limit) {
    problems.Add(place, std::string(burst ? "the burst text" : "the string") + " has " +
                            std::to_string(edit.text->bytes.size()) +
                            " characters; its table keeps " + std::to_string(limit));
  } else if (!burst && edit.text->bytes.empty()) {
    problems.Add(place, "an empty string is not stored");
  }
}

void ReadKeys(const Json& keys, LayoutProfile& profile, int number, Problems& problems) {
  const std::string place = ProfilePlace(number);
  if (!keys.is_array() || keys.size() != static_cast<std::size_t>(kGridRowCount)) {
    problems.Add(place, "\"keys\" needs 6 rows");
    return;
  }
  for (int row = 0; row < kGridRowCount; ++row) {
    const Json& keys_of_row = keys[static_cast<std::size_t>(row)];
    const std::string row_place = place + ", row " + std::to_string(row + 1);
    if (!keys_of_row.is_array() ||
        keys_of_row.size() != static_cast<std::size_t>(kGridColumnCount)) {
      problems.Add(row_place, "holds " +
                                  (keys_of_row.is_array() ? std::to_string(keys_of_row.size())
                                                          : std::string("no list of")) +
                                  " keys; a row holds 8");
      continue;
    }
    for (int column = 0; column < kGridColumnCount; ++column) {
      const Json& key = keys_of_row[static_cast<std::size_t>(column)];
      const std::string key_place = row_place + ", column " + std::to_string(column + 1);
      if (!key.is_string()) {
        problems.Add(key_place, "needs a key expression in quotes");
        continue;
      }
      const std::string expression = key.get<std::string>();
      const ParsedKeyExpression parsed = ParseKeyExpression(expression);
      if (!parsed.edit) {
        problems.Add(key_place, parsed.error);
        continue;
      }
      CheckText(*parsed.edit, key_place, problems);
      profile.keys[static_cast<std::size_t>(row) * kGridColumnCount +
                   static_cast<std::size_t>(column)] = expression;
    }
  }
}

void ReadMacros(const Json& macros, Layout& layout, Problems& problems) {
  if (!macros.is_object()) {
    problems.Add("macros", "needs an object of macro numbers");
    return;
  }
  for (const auto& [key, value] : macros.items()) {
    const std::string place = "macro " + key;
    const int number = NumberKey(key, -1);
    if (number < 0 || number >= kMacroCount) {
      problems.Add(place, "is no macro number 0-31");
      continue;
    }
    LayoutMacro macro;
    if (value.is_string()) {
      const std::string text = value.get<std::string>();
      if (text.starts_with(kMacroHexPrefix)) {
        macro.buffer =
            FromHex<kMacroBufferSize>(std::string_view(text).substr(kMacroHexPrefix.size()));
      }
      if (!macro.buffer) {
        problems.Add(place, "needs script lines or \"hex:\" and " +
                                std::to_string(2 * kMacroBufferSize) + " hex digits");
        continue;
      }
    } else if (value.is_array()) {
      for (const Json& line : value) {
        if (!line.is_string()) {
          problems.Add(place, "needs its script lines as texts");
          break;
        }
        macro.lines.push_back(line.get<std::string>());
      }
      const CompileResult compiled =
          CompileScript(JoinLines(macro.lines), static_cast<std::uint8_t>(number));
      for (const ScriptProblem& problem : compiled.problems) {
        if (problem.kind == ScriptProblemKind::kJumpRepaired) continue;
        problems.Add(place + ", line " + std::to_string(problem.line), problem.text);
      }
      if (compiled.status != CompileStatus::kCompiled && compiled.problems.empty()) {
        problems.Add(place, "does not compile");
      }
    } else {
      problems.Add(place, "needs script lines or \"hex:…\"");
      continue;
    }
    layout.macros[number] = std::move(macro);
  }
}

void ReadChords(const Json& chords, Layout& layout, Problems& problems) {
  if (!chords.is_object()) {
    problems.Add("chords", "needs an object of chord numbers");
    return;
  }
  ChordTable table{};
  for (const auto& [key, value] : chords.items()) {
    const std::string place = "chord " + key;
    const int number = NumberKey(key, 0);
    if (number < 1 || number > static_cast<int>(kChordCount)) {
      problems.Add(place, "is no chord number 1-32");
      continue;
    }
    const auto record =
        value.is_string() ? FromHex<kChordRecordSize>(value.get<std::string>()) : std::nullopt;
    if (!record) {
      problems.Add(place, "needs 16 hex digits");
      continue;
    }
    table[static_cast<std::size_t>(number - 1)] = *record;
  }
  layout.chords = table;
}

// Line and column (from 1) of byte `offset` of `text`.
std::string PlaceOfByte(std::string_view text, std::size_t offset) {
  offset = std::min(offset, text.size());
  const std::size_t line =
      1 + static_cast<std::size_t>(
              std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(offset), '\n'));
  const std::size_t line_start = text.rfind('\n', offset == 0 ? 0 : offset - 1);
  const std::size_t column =
      line_start == std::string_view::npos || offset == 0 ? offset + 1 : offset - line_start;
  return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

}  // namespace

std::vector<std::pair<std::string, std::string>> SettingTexts(
    const std::array<std::uint8_t, kSettingsSize>& settings) {
  std::vector<std::pair<std::string, std::string>> texts;
  texts.reserve(kSettingFields.size() + kFeatureFields.size());
  for (const SettingField& field : kSettingFields) {
    texts.emplace_back(field.name, SettingValue(field, settings[field.byte]));
  }
  for (const FeatureField& field : kFeatureFields) {
    const std::uint8_t value = settings[field.byte];
    // An on-value other than the feature's own is kept as its number.
    texts.emplace_back(field.name, value == 0 ? "false"
                                   : value == FeatureOnValue(field.feature)
                                       ? "true"
                                       : std::to_string(value));
  }
  texts.emplace_back("bytes", Quoted(Hex(std::span(settings).subspan(kSettingSticky + 1))));
  return texts;
}

std::string LayoutMacroHex(const MacroBuffer& buffer) {
  return std::string(kMacroHexPrefix) + Hex(buffer);
}

KeyTextLookup TableTexts(const Configuration& config) {
  return [&config](const KeyActionRecord& record) -> std::optional<std::string> {
    const std::optional<KeypadTextKind> kind = KeyTextKindOf(record);
    if (kind == KeypadTextKind::kBurst) {
      if (record[kKeyTextHighByte] != 0) return std::nullopt;
      return ReadBurstText(config.burst_table, record[kKeyTextLowByte]);
    }
    if (kind != KeypadTextKind::kString) return std::nullopt;
    const unsigned unit = record[kKeyTextLowByte];
    if (StringFormatOf(config) == StringFormat::kChained) {
      return ReadChainedString(config.string_unit_table, unit);
    }
    // The older format keeps a short string in its unit; a long one lies in a slot block of the
    // keypad, which only a session can read.
    const auto bytes =
        std::span(config.string_unit_table).subspan(unit * kTextEntrySize, kTextEntrySize);
    const std::uint8_t length = bytes[kUnitLength];
    if (length == 0 || length > kShortStringLimit) return std::nullopt;
    const auto text = bytes.subspan(kUnitText, length);
    return std::string(text.begin(), text.end());
  };
}

std::optional<LayoutMacro> MacroEntry(int macro_number, const MacroBuffer& buffer) {
  const std::optional<std::string> listing = ListMacro(buffer);
  if (!listing || listing->empty()) return std::nullopt;
  LayoutMacro macro;
  macro.lines = SplitLines(*listing);
  const bool ascii = std::all_of(macro.lines.begin(), macro.lines.end(),
                                 [](const std::string& line) { return IsAscii(line); });
  const CompileResult compiled =
      CompileScript(JoinLines(macro.lines), static_cast<std::uint8_t>(macro_number));
  if (!ascii || compiled.status != CompileStatus::kCompiled || compiled.buffer != buffer) {
    macro.lines.clear();
    macro.buffer = buffer;
  }
  return macro;
}

std::optional<MacroBuffer> LayoutMacroBuffer(int macro_number, const LayoutMacro& macro) {
  if (macro.buffer) return macro.buffer;
  if (macro_number < 0 || macro_number > UINT8_MAX) return std::nullopt;
  const CompileResult compiled =
      CompileScript(JoinLines(macro.lines), static_cast<std::uint8_t>(macro_number));
  if (compiled.status != CompileStatus::kCompiled) return std::nullopt;
  return compiled.buffer;
}

Layout MakeLayout(const Configuration& config, const KeyTextLookup& texts,
                  const std::map<int, MacroBuffer>& macros, const std::optional<ChordTable>& chords,
                  std::string identity) {
  Layout layout;
  for (std::size_t profile = 0; profile < kProfileCount; ++profile) {
    const ProfileView view = ViewProfile(config, static_cast<std::uint8_t>(profile));
    layout.profiles[profile].settings = view.settings;
    for (std::size_t key = 0; key < kGridKeyCount; ++key) {
      const KeyActionRecord& record = view.records[key];
      const std::optional<std::string> text = KeyTextKindOf(record) ? texts(record) : std::nullopt;
      layout.profiles[profile].keys[key] = FormatKeyExpression(record, text);
    }
  }
  for (const auto& [number, buffer] : macros) {
    if (auto macro = MacroEntry(number, buffer)) layout.macros[number] = std::move(*macro);
  }
  layout.chords = chords;
  layout.identity = std::move(identity);
  return layout;
}

std::string LayoutText(const Layout& layout) {
  std::string out = "{\n";
  out += Indent(1) + "\"format\": " + std::to_string(kLayoutFormat) + ",\n";
  out += Indent(1) + "\"keypad\": {\n";
  out += Indent(2) + "\"identity\": " + Quoted(IsAscii(layout.identity) ? layout.identity : "") +
         ",\n";
  out += Indent(2) + "\"firmware\": " +
         Quoted(Hex(std::span(layout.profiles[0].settings).subspan(kSettingFirmware, 1))) + "\n";
  out += Indent(1) + "},\n";
  out += Indent(1) + "\"profiles\": [\n";
  for (std::size_t profile = 0; profile < kProfileCount; ++profile) {
    WriteProfile(out, static_cast<int>(profile) + 1, layout.profiles[profile]);
    out += profile + 1 < kProfileCount ? ",\n" : "\n";
  }
  out += Indent(1) + "],\n";
  WriteMacros(out, layout.macros);
  if (layout.chords) {
    out += ",\n";
    WriteChords(out, *layout.chords);
  }
  out += "\n}\n";
  return out;
}

LayoutParse ParseLayoutText(std::string_view text) {
  LayoutParse result;
  Json root;
  try {
    root = Json::parse(text.begin(), text.end());
  } catch (const Json::parse_error& error) {
    result.problems.push_back(PlaceOfByte(text, error.byte == 0 ? 0 : error.byte - 1) +
                              ": not JSON (" + error.what() + ")");
    return result;
  }
  Problems problems;
  if (!root.is_object()) {
    problems.Add("", "a layout file holds one JSON object");
    result.problems = problems.Take();
    return result;
  }
  if (!root.contains("format") || root["format"] != kLayoutFormat) {
    problems.Add("format",
                 "this program reads layout files of \"format\": " + std::to_string(kLayoutFormat) +
                     ", not " + (root.contains("format") ? root["format"].dump() : "none"));
  }
  Layout layout;
  if (root.contains("keypad") && root["keypad"].is_object() &&
      root["keypad"].contains("identity") && root["keypad"]["identity"].is_string()) {
    layout.identity = root["keypad"]["identity"].get<std::string>();
  }
  const Json* profiles = root.contains("profiles") ? &root["profiles"] : nullptr;
  if (profiles == nullptr || !profiles->is_array() || profiles->size() != kProfileCount) {
    problems.Add("profiles", "needs the 4 profiles");
  } else {
    for (std::size_t i = 0; i < kProfileCount; ++i) {
      const Json& profile = (*profiles)[i];
      const int number = static_cast<int>(i);
      if (!profile.is_object()) {
        problems.Add(ProfilePlace(number), "needs an object");
        continue;
      }
      ReadSettings(profile.contains("settings") ? profile["settings"] : Json(), layout.profiles[i],
                   number, problems);
      ReadKeys(profile.contains("keys") ? profile["keys"] : Json(), layout.profiles[i], number,
               problems);
    }
  }
  if (root.contains("macros")) ReadMacros(root["macros"], layout, problems);
  if (root.contains("chords")) ReadChords(root["chords"], layout, problems);
  if (!problems.Empty()) {
    result.problems = problems.Take();
    return result;
  }
  result.layout = std::move(layout);
  return result;
}

LayoutParse ReadLayoutFile(const std::filesystem::path& path) {
  LayoutParse result;
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(path, error);
  if (error || !std::filesystem::is_regular_file(status)) {
    result.problems.push_back(std::string(std::filesystem::is_directory(status)
                                              ? "a folder is no layout file"
                                              : "no layout file to read"));
    return result;
  }
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error || size > kMaxLayoutFileSize) {
    result.problems.push_back("the file is larger than a layout file can be (" +
                              std::to_string(kMaxLayoutFileSize / (std::uintmax_t{1024} * 1024)) +
                              " MB)");
    return result;
  }
  std::ifstream in(path, std::ios::binary);
  std::string text(static_cast<std::size_t>(size), '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  if (!in && !in.eof()) {
    result.problems.push_back("the file could not be read");
    return result;
  }
  text.resize(static_cast<std::size_t>(in.gcount()));
  return ParseLayoutText(text);
}

}  // namespace qp40
