#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "link/keypad_link.h"
#include "log/log.h"
#include "log/notifier.h"
#include "macros/macro_record.h"
#include "macros/script_compiler.h"

namespace qp40 {

// Message box texts of the macro commands.
inline constexpr std::string_view kWrongScriptMessage = "ERROR: Wrong Script !";
inline constexpr std::string_view kBadMacroNumberMessage =
    "ERROR: Choose a macro number from 0 to 31 !";

// Scripts shorter than this (after line-end normalisation) are not stored.
inline constexpr std::size_t kMinScriptLength = 10;

// The first of macro `macro_number`'s two blocks (64 + 2m), or nothing outside 0..31, so no
// macro number ever reaches a block outside the macro area.
std::optional<std::uint8_t> MacroFirstBlock(int macro_number);

struct LoadedMacro {
  MacroBuffer buffer{};
  int failed_pages = 0;  // pages that could not be read stay zero
};

// Reads macro m's two blocks and logs "iMarco=%d, iMacroBlockID=%d". Nothing is sent for a
// macro number outside 0..31.
std::optional<LoadedMacro> LoadMacro(int macro_number, KeypadLink& link, Log& log);

// Reads macro m as far as it goes: its first block, and its second only when the chain of
// records from record 0 (as a listing follows it) reaches a record there. A macro that is not
// ready, or ends in its first block, leaves the second half of the buffer zero. Logs as LoadMacro.
std::optional<LoadedMacro> LoadMacroChain(int macro_number, KeypadLink& link, Log& log);

// Prepares both blocks of macro m, then writes both (the second one too, even when it is all
// zero). Returns the pages that failed, or nothing, without sending, outside 0..31.
std::optional<int> StoreMacro(int macro_number, const MacroBuffer& buffer, KeypadLink& link);

// --- The macro editor's two keypad commands, for the editor window and the command line ---

enum class MacroLoadStatus {
  kListed,     // `listing` holds the script
  kNotReady,   // the macro was never stored; `message` holds the line for the message pane
  kBadNumber,  // no macro 0..31 chosen; the user was told, nothing was sent
};

struct MacroLoadOutcome {
  MacroLoadStatus status = MacroLoadStatus::kBadNumber;
  std::string listing;
  std::string message;
  int failed_pages = 0;
};

// "Load Onboard": reads macro m and lists it, or says that it is not ready.
MacroLoadOutcome LoadMacroScript(int macro_number, KeypadLink& link, Log& log, Notifier& notifier);

enum class MacroSaveStatus {
  kStored,       // compiled and written; `message` holds "Save Macro#%d to device"
  kTooShort,     // under kMinScriptLength characters; the user was told, nothing was sent
  kNotCompiled,  // the script did not compile (see CompileScript); nothing was sent
  kBadNumber,    // no macro 0..31 chosen; the user was told, nothing was sent
};

struct MacroSaveOutcome {
  MacroSaveStatus status = MacroSaveStatus::kBadNumber;
  std::string message;
  int failed_pages = 0;
  std::vector<ScriptProblem> problems;  // what the compiler found, stored or not
};

// "Save Onboard": compiles the script for macro m and stores it. A script that does not compile
// is never written, so the keypad keeps its previous macro rather than a half-compiled one.
MacroSaveOutcome SaveMacroScript(int macro_number, std::string_view script, KeypadLink& link,
                                 Log& log, Notifier& notifier);

}  // namespace qp40
