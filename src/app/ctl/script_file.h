#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/ctl/command_context.h"
#include "log/clock.h"
#include "macros/script_compiler.h"

namespace qp40::ctl {

// Reads a macro script file as the macro editor's "Load Backup" does: files of 10240 bytes or
// more are refused, and the text ends at its first NUL byte. Nothing, after stderr has said
// why, when the file cannot be used.
std::optional<std::string> ReadScriptFile(CommandContext& context, const std::string& path);

// Without --log the log stays quiet, but the lines in which the macro compiler names a problem
// are what the user needs to mend a script: they go to stderr all the same, as the log writes
// them, stamped with `compiled_at`, the time of the compile.
void ShowScriptProblems(CommandContext& context, const std::vector<ScriptProblem>& problems,
                        const TimeOfDay& compiled_at);

}  // namespace qp40::ctl
