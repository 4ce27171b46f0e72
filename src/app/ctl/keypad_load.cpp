#include "app/ctl/keypad_load.h"

#include "model/profile_ops.h"

namespace qp40::ctl {

KeypadLink* AttachAndLoad(CommandContext& context, Configuration& config, int& failed_pages) {
  failed_pages = 0;
  KeypadLink* link = context.Keypad();
  if (link == nullptr) return nullptr;
  failed_pages =
      LoadConfiguration(config, *link, context.GetLog(), context.Refresher()).failed_pages;
  return link;
}

bool RefuseAfterFailedLoad(CommandContext& context, int failed_pages, const char* what) {
  if (failed_pages == 0) return false;
  context.Err() << "qp40ctl: " << failed_pages << " page(s) could not be read from the keypad; "
                << what << ", so that nothing unread is written\n";
  return true;
}

}  // namespace qp40::ctl
