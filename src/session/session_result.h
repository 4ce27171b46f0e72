#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "keys/key_action.h"
#include "model/config_blocks.h"

namespace qp40 {

// How an operation of a keypad session ended.
enum class SessionStatus {
  kDone,
  kNoKeypad,          // attach: no keypad in Management mode was found
  kPermissionDenied,  // attach: the keypad was found, but the system refused to open it
  kOpenFailed,        // attach: the keypad was found, but could not be opened
  kNotConnected,      // no keypad is open
  kFailedPages,       // pages or commands failed; what the keypad holds there is not known
  kKeypadGone,        // the keypad went away during the work; the rest of it was not tried
  kReadBackDiffers,   // a save went out, but blocks read back other than written
  kTextRefused,       // a key's text has no room (the user was told); nothing changed
  kRefused,           // the request itself cannot be carried out (the user was told)
};

// A short English phrase for a status, for the command line: "the keypad went away".
std::string StatusText(SessionStatus status);

struct AttachResult {
  SessionStatus status = SessionStatus::kNoKeypad;
  int found = 0;     // keypads in Management mode found
  std::string path;  // the one tried; empty when none was found
};

struct LoadResult {
  SessionStatus status = SessionStatus::kDone;
  int failed_pages = 0;
};

struct SaveResult {
  SessionStatus status = SessionStatus::kDone;
  // The blocks written, and those left because the keypad holds them already, by number.
  std::vector<std::uint8_t> blocks_written;
  std::vector<std::uint8_t> blocks_unchanged;
  // Of the blocks written, those that read back other than written or could not be read back.
  std::vector<std::uint8_t> blocks_differing;
  // The pending macros written and read back as written, and those that were not.
  std::vector<int> macros_written;
  std::vector<int> macros_failed;
  int failed_pages = 0;
};

struct KeyEditResult {
  SessionStatus status = SessionStatus::kDone;
  KeyActionRecord record{};  // the record the key holds now
};

}  // namespace qp40
