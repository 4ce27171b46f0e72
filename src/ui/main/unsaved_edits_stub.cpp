#include "ui/main/main_dialog.h"

namespace qp40 {

// The window keeps no record of unsaved key edits yet, so nothing can be lost.
bool CMorvelDlg::MayDiscardEdits() { return true; }

}  // namespace qp40
