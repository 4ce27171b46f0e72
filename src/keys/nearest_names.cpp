#include "keys/nearest_names.h"

#include <algorithm>
#include <cctype>
#include <numeric>

#include "keys/key_words.h"
#include "keys/name_tables.h"

namespace qp40 {
namespace {

constexpr std::size_t kMostEdits = 3;

char Folded(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

// Insertions, deletions and substitutions that turn `a` into `b`, case ignored.
std::size_t EditDistance(std::string_view a, std::string_view b) {
  std::vector<std::size_t> row(b.size() + 1);
  std::iota(row.begin(), row.end(), std::size_t{0});
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      const std::size_t substitute = diagonal + (Folded(a[i - 1]) == Folded(b[j - 1]) ? 0 : 1);
      row[j] = std::min({above + 1, row[j - 1] + 1, substitute});
      diagonal = above;
    }
  }
  return row[b.size()];
}

}  // namespace

std::vector<std::string_view> NearestNames(std::string_view word,
                                           std::span<const std::string_view> names,
                                           std::size_t limit) {
  // Nothing typed resembles nothing in particular.
  if (word.empty()) return {};
  const std::size_t allowed = std::clamp<std::size_t>((word.size() + 2) / 3, 1, kMostEdits);
  struct Candidate {
    std::size_t distance;
    std::string_view name;
  };
  std::vector<Candidate> candidates;
  for (const std::string_view name : names) {
    if (name.empty()) continue;
    const bool seen = std::any_of(candidates.begin(), candidates.end(),
                                  [name](const Candidate& c) { return c.name == name; });
    if (seen) continue;
    const std::size_t distance = EditDistance(word, name);
    if (distance <= allowed) candidates.push_back({distance, name});
  }
  std::stable_sort(candidates.begin(), candidates.end(),
                   [](const Candidate& a, const Candidate& b) { return a.distance < b.distance; });
  std::vector<std::string_view> nearest;
  for (std::size_t i = 0; i < candidates.size() && i < limit; ++i) {
    nearest.push_back(candidates[i].name);
  }
  return nearest;
}

std::vector<std::string_view> KeyWordNames() {
  std::vector<std::string_view> names;
  for (std::size_t index = 0; index < kKeyWordsMatched; ++index) {
    if (!KeyWordAt(index).name.empty()) names.push_back(KeyWordAt(index).name);
  }
  return names;
}

std::vector<std::string_view> MediaKeyNames() {
  std::vector<std::string_view> names;
  for (std::size_t code = 0; code < kMediaKeyCount; ++code) names.push_back(MediaKeyName(code));
  return names;
}

std::vector<std::string_view> MouseNames() {
  std::vector<std::string_view> names;
  for (std::size_t position = 0; position < kMouseNameCount; ++position) {
    names.push_back(MouseName(position));
  }
  return names;
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

}  // namespace qp40
