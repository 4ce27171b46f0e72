#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "app/ctl/command_context.h"
#include "chords/chord_table.h"
#include "layout/layout_file.h"

namespace qp40::ctl {

// Where a layout comes from: the keypad, a backup file (.bin) or a layout file.
enum class SourceKind { kKeypad, kBackup, kLayoutFile };
inline constexpr std::string_view kKeypadSource = "keypad";

SourceKind KindOf(const std::string& source);

// The layout of the keypad (its macros too, unless `macros` is false), of a backup file or of a
// layout file; nothing after saying why on stderr. `status` is the exit status then.
std::optional<Layout> LayoutOf(CommandContext& context, const std::string& source, bool macros,
                               const std::optional<ChordTable>& chords, int& status);

}  // namespace qp40::ctl
