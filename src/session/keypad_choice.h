#pragma once

#include <string>
#include <string_view>

#include "link/transport.h"
#include "log/log.h"
#include "log/notifier.h"
#include "session/keypad_list.h"

namespace qp40 {

// How choosing a keypad ended.
enum class ChoiceStatus {
  kChosen,
  kNoKeypad,          // none in Management mode was found
  kSeveral,           // several were found and none was named
  kNumberOutOfRange,  // the number names no listed keypad
  kUnknownIdentity,   // no listed keypad reports that identity
  kSharedIdentity,    // several listed keypads report that identity
  kUnknownPath,       // no listed keypad is on that path
};

struct KeypadChoice {
  ChoiceStatus status = ChoiceStatus::kNoKeypad;
  std::string path;  // the keypad chosen; empty unless kChosen
  // The keypads found; identities and firmware versions are read only where the choice needs
  // them (an identity was named) or a refusal shows them.
  KeypadList list;
};

// Chooses the keypad a command talks to. `device` is empty when none was named, else a number
// from 1, an identity (see ParseIdentity) or an interface path. With one keypad and none named,
// that one, without a word to it beforehand; with several and none named, none.
KeypadChoice ChooseKeypad(Transport& transport, Log& log, Notifier& notifier,
                          std::string_view device);

// Why a choice failed, for a person: the problem, the list of keypads and what to do. Empty for
// kChosen; without the list for kNoKeypad.
std::string ChoiceProblemText(const KeypadChoice& choice, std::string_view device);

}  // namespace qp40
