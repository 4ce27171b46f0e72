#pragma once

#include "app/ctl/command_context.h"
#include "session/keypad_session.h"

namespace qp40::ctl {

// Opens the keypad and loads its configuration, as the window does on connection. Returns the
// session, or nullptr when there is no keypad (the exit status is then context.AttachStatus()).
// `load` tells how the load went.
KeypadSession* AttachAndLoad(CommandContext& context, LoadResult& load);

// Data that was never read must not go back to the keypad or into a backup: true, after saying
// so on stderr, when the load did not read everything.
bool RefuseAfterFailedLoad(CommandContext& context, const LoadResult& load, const char* what);

// The exit status for a save, after saying on stderr what went wrong: blocks that read back
// other than written, or a save cut short.
int SaveStatus(CommandContext& context, const SaveResult& saved);

}  // namespace qp40::ctl
