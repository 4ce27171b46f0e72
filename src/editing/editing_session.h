#pragma once

#include "chords/chord_table.h"
#include "editing/screen_keyboard.h"

namespace qp40 {

// What the editing dialogs share for the whole run of the program, beyond any one dialog.
struct EditingSession {
  // The stop mode the stop mode list shows when a key is switched to a macro key: set when a
  // macro key's dialog opens and by every OK of the key dialog.
  int remembered_stop_mode = 0;
  // Type changes since the key dialog opened; only the first (made while it opens) keeps the
  // fields it filled.
  int type_change_counter = 0;
  // Which kind of dialog the screen keyboards deliver their picks to.
  int screen_keyboard_owner = kOwnerKeyDialog;
  // The chord table as the chord file last exported or imported holds it; all zeros, like the
  // table itself, before any. A table that differs would be lost at exit.
  ChordTable chords_in_file{};
};

}  // namespace qp40
