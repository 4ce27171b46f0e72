#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "keys/key_action.h"
#include "link/keypad_link.h"
#include "log/log.h"
#include "log/notifier.h"
#include "model/configuration.h"

namespace qp40 {

// A copied key: its record and, for a string or burst key, the text it types as it was when
// it was copied.
struct CopiedKey {
  KeyActionRecord record{};
  std::optional<std::string> text;
};

// Copies the key at grid position `position` (0..47) of the working copy. A string key's text
// in the block format comes from the keypad; a string that cannot be read is copied without
// a text, and its paste is refused.
CopiedKey CopyKey(const Configuration& config, KeypadLink& link, std::size_t position);

// Writes `key` into a record of this configuration, with a string or burst key getting its own
// new entry for its text, so freeing one key's text never empties another's. The text entry the
// record held before (`held`) is freed once the new record is in place. Returns the record to
// store, or nothing when the text has no room (the user is told; nothing changed).
std::optional<KeyActionRecord> PlaceCopiedKey(Configuration& config, KeypadLink& link,
                                              const CopiedKey& key, const KeyActionRecord& held,
                                              Log& log, Notifier& notifier);

// Pastes `key` on grid position `position` of the working copy; false when it was refused.
bool PasteKey(Configuration& config, KeypadLink& link, std::size_t position, const CopiedKey& key,
              Log& log, Notifier& notifier);

// Copies the 48 records and the settings of the working copy (the profile on screen, with its
// edits) into profile `to` (0..3) of the profile image, each string and burst key with its own
// copy of its text. All or nothing: false (and the configuration unchanged) when `to` is the
// profile on screen or out of range, or a text has no room.
bool CopyShownProfile(Configuration& config, KeypadLink& link, std::uint8_t to, Log& log,
                      Notifier& notifier);

}  // namespace qp40
