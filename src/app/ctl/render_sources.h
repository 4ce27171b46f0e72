#pragma once

#include <string>

#include "app/ctl/command_context.h"
#include "model/configuration.h"
#include "picture/cheat_sheet.h"

namespace qp40::ctl {

// What a cheat sheet is drawn from, and where it came from.
struct RenderSource {
  Configuration config;
  CheatSheetExtras extras;
  // The file held the keys of one profile only; they show as profile 1.
  bool one_profile = false;
  // Something was drawn as not read (a macro whose pages failed); the run then fails.
  bool incomplete = false;
};

// Reads the configuration from the keypad, with the scripts of the macros and the texts of the
// strings that the keys of the chosen profiles use. False, after stderr has said why, when there
// is no keypad or its configuration could not be read in full; `status` is then the exit status.
bool RenderSourceFromKeypad(CommandContext& context, const CheatSheetOptions& options,
                            RenderSource& source, int& status);

// Reads the configuration from a file: a backup file, or a layout file with its macros and
// chords. False, after stderr has said why, when the
// file cannot be read or is of no known type.
bool RenderSourceFromFile(CommandContext& context, const std::string& path, RenderSource& source);

// Adds the chord table of a chord file. False, after stderr has said why, when it is none.
bool AddChordFile(CommandContext& context, const std::string& path, RenderSource& source);

}  // namespace qp40::ctl
