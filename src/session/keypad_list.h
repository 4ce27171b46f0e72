#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "link/report.h"
#include "link/transport.h"
#include "log/log.h"
#include "log/notifier.h"

namespace qp40 {

// One keypad in Management mode, as the keypad list names it.
struct ListedKeypad {
  int number = 0;  // from 1, in the platform's order
  std::string path;
  std::optional<DeviceId> identity;              // nothing until read, or when it cannot be
  std::optional<std::uint8_t> firmware_version;  // likewise
  // Another listed keypad reports the same identity (clones): only the path tells them apart.
  bool shared_identity = false;
};

// The keypads found: every match is counted, the first KeypadLink::kMaxMatchingPaths are listed.
struct KeypadList {
  int found = 0;
  std::vector<ListedKeypad> keypads;
};

// Finds the keypads without a word to them: numbers and paths only.
KeypadList FindKeypadList(Transport& transport, Log& log, Notifier& notifier);

// Opens each listed keypad in turn (but the one on `skip_path`, which its session holds open)
// and reads its identity and the firmware version of its profile block, then marks shared
// identities. A keypad that cannot be opened or does not answer keeps nothing for them.
void ReadKeypadDetails(KeypadList& list, Transport& transport, Log& log, Notifier& notifier,
                       const std::string& skip_path = {});

// Marks the keypads whose identity another listed keypad reports too.
void MarkSharedIdentities(KeypadList& list);

// The identity as 32 lower-case hex digits, the form --device takes.
std::string IdentityHex(const DeviceId& identity);
// The identity as the layout file writes it: "04 b4 08 20 …".
std::string IdentityText(const DeviceId& identity);

// An identity written as 32 hex digits, in either case, optionally in groups separated by
// blanks, ':' or '-'; nothing for anything else.
std::optional<DeviceId> ParseIdentity(std::string_view text);

// The list for a person, one line per keypad: number, identity, firmware version, path; a
// keypad sharing its identity says so, and a note says when more were found than listed.
std::string KeypadListText(const KeypadList& list);

}  // namespace qp40
