#pragma once

#include <string>

#include "app/ctl/command_context.h"
#include "layout/layout_file.h"

namespace qp40::ctl {

struct ApplySettings {
  bool dry_run = false;
  int profile = 0;  // 1..4: only that profile's settings and keys; 0: everything
};

// Puts `layout` (read from `name`) on the keypad as `apply` does: loads, prints what changes,
// writes only that and reads it back. The exit status.
int ApplyLayout(CommandContext& context, const Layout& layout, const std::string& name,
                const ApplySettings& settings);

}  // namespace qp40::ctl
