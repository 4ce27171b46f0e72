#include "app/ctl/keypad_load.h"

#include "app/ctl/exit_codes.h"

namespace qp40::ctl {

KeypadSession* AttachAndLoad(CommandContext& context, LoadResult& load) {
  load = {};
  KeypadSession* session = context.Keypad();
  if (session == nullptr) return nullptr;
  load = session->Load();
  return session;
}

bool RefuseAfterFailedLoad(CommandContext& context, const LoadResult& load, const char* what) {
  if (load.status == SessionStatus::kDone) return false;
  if (load.failed_pages > 0) {
    context.Err() << "qp40ctl: " << load.failed_pages
                  << " page(s) could not be read from the keypad; " << what
                  << ", so that nothing unread is written\n";
  } else {
    context.Err() << "qp40ctl: the load did not go through (" << StatusText(load.status) << "); "
                  << what << "\n";
  }
  return true;
}

int SaveStatus(CommandContext& context, const SaveResult& saved) {
  for (const std::uint8_t block : saved.blocks_differing) {
    context.Err() << "qp40ctl: verify: block " << int{block} << " does not hold what was written\n";
  }
  for (const int macro : saved.macros_failed) {
    context.Err() << "qp40ctl: verify: macro " << macro << " does not hold what was written\n";
  }
  if (saved.status == SessionStatus::kDone) return kExitOk;
  if (saved.blocks_differing.empty() && saved.macros_failed.empty()) {
    context.Err() << "qp40ctl: the save did not go through: " << StatusText(saved.status) << "\n";
  }
  return kExitFailed;
}

}  // namespace qp40::ctl
