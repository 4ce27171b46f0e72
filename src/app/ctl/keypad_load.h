#pragma once

#include "app/ctl/command_context.h"
#include "link/keypad_link.h"
#include "model/configuration.h"

namespace qp40::ctl {

// Opens the keypad and loads its configuration into `config`, as the window does on
// connection. Returns the link, or nullptr when there is no keypad (the exit status is then
// context.AttachStatus()). `failed_pages` counts the pages that could not be read.
KeypadLink* AttachAndLoad(CommandContext& context, Configuration& config, int& failed_pages);

// Data that was never read must not go back to the keypad or into a backup: true, after saying
// so on stderr, when the load lost pages.
bool RefuseAfterFailedLoad(CommandContext& context, int failed_pages, const char* what);

}  // namespace qp40::ctl
