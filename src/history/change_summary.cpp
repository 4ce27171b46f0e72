#include "history/change_summary.h"

#include <charconv>
#include <optional>
#include <set>
#include <string_view>

namespace qp40 {
namespace {

// The number after `prefix` at the start of `line`, if the line starts so.
std::optional<int> NumberAfter(std::string_view line, std::string_view prefix) {
  if (!line.starts_with(prefix)) return std::nullopt;
  int number = 0;
  const char* first = line.data() + prefix.size();
  const auto [end, error] = std::from_chars(first, line.data() + line.size(), number);
  if (error != std::errc() || end == first) return std::nullopt;
  return number;
}

std::string Count(std::size_t count, std::string_view one, std::string_view many) {
  return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

std::string Numbers(const std::set<int>& numbers, std::string_view one, std::string_view many) {
  std::string text(numbers.size() == 1 ? one : many);
  bool first = true;
  for (const int number : numbers) {
    text += first ? " " : ", ";
    text += std::to_string(number);
    first = false;
  }
  return text;
}

}  // namespace

std::string ChangeSummary(const std::vector<std::string>& diff_lines) {
  std::set<std::string> keys;
  std::size_t settings = 0;
  std::set<int> macros;
  std::set<int> chords;
  for (const std::string& line : diff_lines) {
    if (line.find(", settings, ") != std::string::npos) {
      ++settings;
    } else if (line.starts_with("profile ")) {
      keys.insert(line.substr(0, line.find(':')));
    } else if (auto macro = NumberAfter(line, "macro ")) {
      macros.insert(*macro);
    } else if (auto chord = NumberAfter(line, "chord ")) {
      chords.insert(*chord);
    }
  }
  std::string summary;
  const auto add = [&summary](const std::string& part) {
    summary += summary.empty() ? part : ", " + part;
  };
  if (!keys.empty()) add(Count(keys.size(), "key", "keys"));
  if (settings > 0) add(Count(settings, "setting", "settings"));
  if (!macros.empty()) add(Numbers(macros, "macro", "macros"));
  if (!chords.empty()) add(Numbers(chords, "chord", "chords"));
  return summary.empty() ? "no change" : summary + " changed";
}

}  // namespace qp40
