#include "ui/main/main_dialog_template.h"

#include <vector>

#include "keys/board_layout.h"
#include "ui/main/main_dialog_ids.h"

namespace qp40 {

namespace {

using K = ControlKind;

// Texts left empty here are set by the dialog's set-up.
constexpr ControlEntry kSettingsColumn[] = {
    {kIdDefaultLabel, K::kStaticText, "", 8, 12, 66, 9},
    {kIdBoardTypeLabel, K::kStaticText, "", 8, 28, 66, 9},
    {kIdBoardTypeList, K::kDropDownList, "", 8, 38, 66, 80},
    {kIdPathTypeLabel, K::kStaticText, "", 8, 58, 66, 9},
    {kIdPathTypeList, K::kDropDownList, "", 8, 68, 66, 60},
    {kIdUsbTypeLabel, K::kStaticText, "", 8, 88, 66, 9},
    {kIdUsbTypeList, K::kDropDownList, "", 8, 98, 66, 40},
    {kStaticId, K::kGroupBox, "Special Features", 6, 118, 70, 58},
    {kIdTyping, K::kCheckBox, "", 13, 131, 58, 10},
    {kIdBacklight, K::kCheckBox, "", 13, 146, 58, 10},
    {kIdSticky, K::kCheckBox, "", 13, 161, 58, 10},
};

constexpr ControlEntry kCommands[] = {
    {kStaticId, K::kGroupBox, "Profiles Management", 6, 184, 454, 73},
    {kIdLoadProfilesOnboard, K::kPushButton, "", 14, 198, 103, 15},
    {kIdEditProfile, K::kPushButton, "", 125, 198, 103, 15},
    {kIdSaveProfilesOnboard, K::kDefaultPushButton, "", 236, 198, 103, 15},
    {kIdMacroScriptEdit, K::kPushButton, "", 347, 198, 103, 15},
    {kIdLoadBackup, K::kPushButton, "", 14, 217, 103, 15},
    {kIdBackupProfiles, K::kPushButton, "", 125, 217, 103, 15},
    {kIdRestoreFactory, K::kPushButton, "", 236, 217, 103, 15},
    {kIdCloseReboot, K::kPushButton, "", 347, 217, 103, 15},
    {kIdChordEditor, K::kPushButton, "", 14, 236, 103, 15},
    {kIdLayoutMenu, K::kPushButton, "", 125, 236, 103, 15},
    {kIdPicture, K::kPushButton, "", 236, 236, 103, 15},
    {kIdHistory, K::kPushButton, "", 347, 236, 103, 15},
    {kIdLog, K::kLogEdit, "", kMainDialogMargin, 265, 454, 98},
};

std::vector<ControlEntry> MainDialogControls() {
  std::vector<ControlEntry> controls(std::begin(kSettingsColumn), std::end(kSettingsColumn));
  for (int row = 1; row <= kGridRowCount; ++row) {
    for (int column = 1; column <= kGridColumnCount; ++column) {
      controls.push_back({KeyControlId(row, column), K::kColorButton, "", 0, 0, 0, 0});
    }
  }
  controls.insert(controls.end(), std::begin(kCommands), std::end(kCommands));
  return controls;
}

}  // namespace

const DialogTemplate& MainDialogTemplate() {
  static const std::vector<ControlEntry> controls = MainDialogControls();
  static const DialogTemplate dialog_template{"", 466, 369, controls};
  return dialog_template;
}

}  // namespace qp40
