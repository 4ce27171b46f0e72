#include "app/ctl/verify_blocks.h"

#include "model/saved_blocks_check.h"

namespace qp40::ctl {

int VerifySavedBlocks(const Configuration& config, KeypadLink& link, std::ostream& err) {
  int bad_blocks = 0;
  for (const SavedBlockCheck& check : CheckSavedBlocks(config, link)) {
    if (check.state == SavedBlockState::kMatches) continue;
    ++bad_blocks;
    err << "qp40ctl: verify: block " << int{check.block}
        << (check.state == SavedBlockState::kUnreadable ? " could not be read back\n"
                                                        : " differs from what was written\n");
  }
  return bad_blocks;
}

}  // namespace qp40::ctl
