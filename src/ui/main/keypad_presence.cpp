#include "ui/common/dialog_template.h"
#include "ui/main/main_dialog.h"
#include "ui/main/main_dialog_ids.h"

namespace qp40 {
namespace {

// What needs the keypad itself; editing profiles and backups work on memory and stay enabled.
constexpr int kKeypadOnlyCommands[] = {kIdLoadProfilesOnboard, kIdSaveProfilesOnboard,
                                       kIdCloseReboot,         kIdChordEditor,
                                       kIdMacroScriptEdit,     kIdRestoreFactory};

constexpr const char* kRemovedLine = ">> Keypad removed";

}  // namespace

void CMorvelDlg::OnDeviceRemoved(const std::string& node) {
  if (!services_.session.Connected() || node.empty() || node != services_.session.OpenPath()) {
    // Another keypad went: the chooser no longer offers it.
    if (!node.empty()) RefreshKeypadChooser();
    return;
  }
  OnKeypadRemoved();
}

void CMorvelDlg::OnKeypadRemoved() {
  services_.session.Detach();
  for (int id : kKeypadOnlyCommands) {
    EnableItem(*this, id, false);
  }
  services_.log.AppendLog(kRemovedLine);
  RefreshKeypadChooser();
  UpdateTitle();
}

bool CMorvelDlg::KeypadWentAway() {
  if (!services_.session.KeypadGone()) return false;
  if (services_.session.Connected()) OnKeypadRemoved();
  return true;
}

}  // namespace qp40
