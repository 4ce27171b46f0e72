#include "layout/layout_diff.h"

#include <algorithm>
#include <set>
#include <string>
#include <string_view>
#include <utility>

namespace qp40 {
namespace {

constexpr std::string_view kNoLine = "(none)";
constexpr std::string_view kEmptyChord = "(empty)";
constexpr std::string_view kArrow = " -> ";

// "WHERE: OLD -> NEW", one line of the diff.
std::string ChangeLine(std::string where, std::string_view old_text, std::string_view new_text) {
  where += ": ";
  where += old_text;
  where += kArrow;
  where += new_text;
  return where;
}
constexpr unsigned kNibble = 4;
constexpr unsigned kLowNibble = 0x0F;

std::vector<std::string> MacroLines(const LayoutMacro& macro) {
  if (!macro.buffer) return macro.lines;
  return {LayoutMacroHex(*macro.buffer)};
}

std::string ChordText(const ChordRecord& record) {
  if (std::all_of(record.begin(), record.end(), [](std::uint8_t b) { return b == 0; })) {
    return std::string(kEmptyChord);
  }
  constexpr std::string_view kHex = "0123456789ABCDEF";
  std::string text;
  for (const std::uint8_t byte : record) {
    text += kHex[byte >> kNibble];
    text += kHex[byte & kLowNibble];
  }
  return text;
}

void DiffMacros(const Layout& from, const Layout& to, std::vector<std::string>& lines) {
  std::set<int> numbers;
  for (const auto& [number, macro] : from.macros) numbers.insert(number);
  for (const auto& [number, macro] : to.macros) numbers.insert(number);
  for (const int number : numbers) {
    const auto old_macro = from.macros.find(number);
    const auto new_macro = to.macros.find(number);
    const std::vector<std::string> old_lines =
        old_macro == from.macros.end() ? std::vector<std::string>() : MacroLines(old_macro->second);
    const std::vector<std::string> new_lines =
        new_macro == to.macros.end() ? std::vector<std::string>() : MacroLines(new_macro->second);
    for (std::size_t i = 0; i < std::max(old_lines.size(), new_lines.size()); ++i) {
      const std::string old_line = i < old_lines.size() ? old_lines[i] : std::string(kNoLine);
      const std::string new_line = i < new_lines.size() ? new_lines[i] : std::string(kNoLine);
      if (old_line == new_line) continue;
      lines.push_back(
          ChangeLine("macro " + std::to_string(number) + ", line " + std::to_string(i + 1),
                     old_line, new_line));
    }
  }
}

}  // namespace

std::string LayoutKeyPlace(std::size_t profile, std::size_t key) {
  const auto columns = static_cast<std::size_t>(kGridColumnCount);
  return "profile " + std::to_string(profile + 1) + ", row " + std::to_string(key / columns + 1) +
         ", column " + std::to_string(key % columns + 1);
}

std::vector<std::string> DiffLayouts(const Layout& from, const Layout& to) {
  std::vector<std::string> lines;
  for (std::size_t profile = 0; profile < kProfileCount; ++profile) {
    const std::string place = "profile " + std::to_string(profile + 1);
    const auto old_settings = SettingTexts(from.profiles[profile].settings);
    const auto new_settings = SettingTexts(to.profiles[profile].settings);
    for (std::size_t i = 0; i < old_settings.size() && i < new_settings.size(); ++i) {
      if (old_settings[i].second == new_settings[i].second) continue;
      lines.push_back(ChangeLine(place + ", settings, " + old_settings[i].first,
                                 old_settings[i].second, new_settings[i].second));
    }
    for (std::size_t key = 0; key < kGridKeyCount; ++key) {
      const std::string& old_key = from.profiles[profile].keys[key];
      const std::string& new_key = to.profiles[profile].keys[key];
      if (old_key == new_key) continue;
      lines.push_back(ChangeLine(LayoutKeyPlace(profile, key), old_key, new_key));
    }
  }
  DiffMacros(from, to, lines);
  if (from.chords && to.chords) {
    for (std::size_t chord = 0; chord < kChordCount; ++chord) {
      const std::string old_chord = ChordText((*from.chords)[chord]);
      const std::string new_chord = ChordText((*to.chords)[chord]);
      if (old_chord == new_chord) continue;
      lines.push_back(ChangeLine("chord " + std::to_string(chord + 1), old_chord, new_chord));
    }
  }
  return lines;
}

}  // namespace qp40
