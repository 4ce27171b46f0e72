#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "macros/macro_record.h"
#include "session/session_result.h"

namespace qp40 {

// What a layout import takes from the file.
struct LayoutImportScope {
  // Only this profile (0..3): its settings and keys, no macros, no chords. All when empty.
  std::optional<std::uint8_t> profile;
  // The macros the keypad holds: the file's macros that differ from them are left for the next
  // save to write. Null: the macros are left alone.
  const std::map<int, MacroBuffer>* keypad_macros = nullptr;
  // The file's chords go into the session's chord table (the window's chord editor). The
  // keypad keeps no chords, so a command line leaves them out.
  bool chords = true;
  // The file's settings and keys (and chords). Off: only the macros are taken.
  bool keys = true;
  // Works out and checks everything, then puts the configuration back as it was.
  bool dry_run = false;
};

struct LayoutImportResult {
  SessionStatus status = SessionStatus::kDone;  // kDone, or kRefused with nothing changed
  // Every problem found, each with its place ("profile 2, row 1, column 3: …").
  std::vector<std::string> problems;
  // What the import changes, in the words of the layout diff.
  std::vector<std::string> changes;
  // The macros the next save writes.
  std::vector<int> macros;
};

}  // namespace qp40
