#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace qp40 {

// The key word table: 260 names with, for entries 0..254, one code byte each.
inline constexpr std::size_t kKeyWordCount = 260;
inline constexpr std::size_t kKeyWordsWithCode = 255;  // code-to-name scans 0..254
inline constexpr std::size_t kKeyWordsMatched = 250;   // word lookup scans 0..249

struct KeyWord {
  std::string_view name;
  std::uint8_t code;
};

// Entry `index` (0..259) of the key word table; entries 255..259 carry code 0 and no lookup
// reaches them.
const KeyWord& KeyWordAt(std::size_t index);

// Name of the first entry (0..254) whose code is `code`, or `none` when no entry has it.
std::string_view CodeToName(std::uint8_t code, std::string_view none);

struct WordLookupResult {
  std::uint8_t code = 0;
  bool found = false;
};

// Code of the first entry (0..249) whose name equals `word` exactly; otherwise the word's
// DecimalLowByte, with found clear.
WordLookupResult LookupWord(std::string_view word);

}  // namespace qp40
