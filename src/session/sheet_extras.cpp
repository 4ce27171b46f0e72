#include "session/sheet_extras.h"

#include "keys/key_action.h"
#include "macros/macro_record.h"
#include "macros/macro_storage.h"

namespace qp40 {

SheetExtrasRead ReadSheetExtras(KeypadSession& session, const CheatSheetOptions& options) {
  SheetExtrasRead read;
  if (!session.Connected()) return read;
  for (const int number : MacrosInUse(session.Config(), options)) {
    if (number >= kMacroCount) continue;
    const MacroLoadOutcome macro = session.LoadMacroScript(number);
    if (session.KeypadGone()) return read;
    if (macro.failed_pages > 0) {
      read.unread_macros.push_back(number);
    } else if (macro.status == MacroLoadStatus::kListed) {
      read.extras.macro_scripts[number] = macro.listing;
    } else if (macro.status == MacroLoadStatus::kNotReady) {
      read.extras.macro_scripts[number] = std::nullopt;
    }
  }
  for (const std::uint8_t unit : StringsInUse(session.Config(), options)) {
    if (auto text = session.KeyText({kActionString, 0, 0, unit})) {
      read.extras.string_texts[unit] = std::move(*text);
    }
  }
  return read;
}

}  // namespace qp40
