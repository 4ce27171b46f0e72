#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "chords/chord_table.h"
#include "model/configuration.h"
#include "picture/key_face.h"

namespace qp40 {

enum class Appendix {
  kShown,    // macros, texts and chords after the grids
  kLeftOut,  // the grids and the legend alone
};

struct CheatSheetOptions {
  // The user profile 0..3 to draw; all four when empty.
  std::optional<std::uint8_t> profile;
  Appendix appendix = Appendix::kShown;
};

// What the sheet shows beside the configuration, each part optional.
struct CheatSheetExtras {
  // The scripts of the macros read from the keypad, by number, as listed with CR LF line ends;
  // nothing for a macro that was never stored. A macro a key runs that is not here is shown as
  // not read.
  std::map<int, std::optional<std::string>> macro_scripts;
  // The chord table; the keypad keeps none, so it comes from a chord file.
  std::optional<ChordTable> chords;
  StringTexts string_texts;
};

// The profiles the options choose, in order.
std::vector<std::uint8_t> ChosenProfiles(const CheatSheetOptions& options);

// The numbers of the macros that the drawn keys of the chosen profiles run, each once, in order.
std::vector<int> MacrosInUse(const Configuration& config, const CheatSheetOptions& options);

// The string numbers of the drawn string keys of the chosen profiles, each once, in order.
std::vector<std::uint8_t> StringsInUse(const Configuration& config,
                                       const CheatSheetOptions& options);

// The cheat sheet as an SVG document: each chosen profile as the key grid of its board type,
// coloured by key type, with a legend of the types shown, then (unless left out) an appendix
// with the macros the keys run, the burst and string texts and the chords. The same input
// always gives the same bytes.
std::string RenderCheatSheet(const Configuration& config, const CheatSheetExtras& extras,
                             const CheatSheetOptions& options);

}  // namespace qp40
