// A profile image with its burst and string unit tables (the layout of text_tables' inputs),
// then a macro buffer that every macro in use lists, a chord table and the profile to draw:
// the cheat sheet must stay well-formed whatever the keypad holds.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "chords/chord_table.h"
#include "fuzz_support.h"
#include "macros/macro_listing.h"
#include "picture/cheat_sheet.h"

namespace {

using namespace qp40;

constexpr std::string_view kTextStart = "xml:space=\"preserve\">";
constexpr std::string_view kTextEnd = "</text>";
// Draw all four profiles when the profile byte is this or above.
constexpr std::uint8_t kAllProfilesFrom = kProfileCount;

// Well-formed UTF-8 holding no control character but the line break.
bool IsCleanUtf8(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size()) {
    const auto lead = static_cast<std::uint8_t>(text[at]);
    std::size_t length = 1;
    if (lead >= 0xF0) {
      length = 4;
    } else if (lead >= 0xE0) {
      length = 3;
    } else if (lead >= 0xC2) {
      length = 2;
    } else if (lead >= 0x80 || (lead < 0x20 && lead != '\n') || lead == 0x7F) {
      return false;
    }
    if (at + length > text.size()) return false;
    for (std::size_t i = 1; i < length; ++i) {
      if ((static_cast<std::uint8_t>(text[at + i]) & 0xC0) != 0x80) return false;
    }
    at += length;
  }
  return true;
}

// No markup character inside any text element.
bool TextsHoldNoMarkup(std::string_view svg) {
  for (std::size_t at = svg.find(kTextStart); at != std::string_view::npos;
       at = svg.find(kTextStart, at)) {
    at += kTextStart.size();
    const std::size_t end = svg.find(kTextEnd, at);
    if (end == std::string_view::npos) return false;
    if (svg.substr(at, end - at).find_first_of("<>\"'") != std::string_view::npos) return false;
    at = end;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::ByteReader input(std::span(data, size));
  Configuration config;
  input.Fill(config.profile_image);
  input.Fill(config.burst_table);
  input.Fill(config.string_unit_table);
  MacroBuffer macro{};
  input.Fill(macro);
  ChordTable chords{};
  for (ChordRecord& record : chords) input.Fill(record);
  const std::uint8_t profile = input.Next(kAllProfilesFrom);

  ReadKeyCodeMap(config);
  FillWorkingCopy(config, 0);
  CheatSheetOptions options;
  if (profile < kAllProfilesFrom) options.profile = profile;
  CheatSheetExtras extras;
  extras.chords = chords;
  for (const int number : MacrosInUse(config, options)) {
    extras.macro_scripts[number] = ListMacro(macro);
  }

  const std::string svg = RenderCheatSheet(config, extras, options);
  QP40_REQUIRE(IsCleanUtf8(svg));
  QP40_REQUIRE(TextsHoldNoMarkup(svg));
  QP40_REQUIRE(RenderCheatSheet(config, extras, options) == svg);
  return 0;
}
