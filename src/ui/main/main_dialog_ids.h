#pragma once

#include "keys/board_settings_names.h"

namespace qp40 {

// Control ids of the main dialog.
inline constexpr int kIdLoadProfilesOnboard = 1119;
inline constexpr int kIdEditProfile = 1120;
inline constexpr int kIdLoadBackup = 1121;
inline constexpr int kIdSaveProfilesOnboard = 1122;
inline constexpr int kIdBackupProfiles = 1123;
inline constexpr int kIdLog = 1130;
inline constexpr int kIdCloseReboot = 1133;
inline constexpr int kIdBoardTypeList = 1135;
inline constexpr int kIdTyping = 1136;
inline constexpr int kIdBacklight = 1137;
inline constexpr int kIdSticky = 1138;
inline constexpr int kIdPathTypeList = 1139;
inline constexpr int kIdUsbTypeList = 1140;
inline constexpr int kIdChordEditor = 1144;
inline constexpr int kIdMacroScriptEdit = 1149;
inline constexpr int kIdRestoreFactory = 1150;
inline constexpr int kIdLayoutMenu = 1160;
inline constexpr int kIdHistory = 1170;
inline constexpr int kIdPicture = 1151;
inline constexpr int kIdDefaultLabel = 4117;
inline constexpr int kIdBoardTypeLabel = 4118;
inline constexpr int kIdPathTypeLabel = 4119;
inline constexpr int kIdUsbTypeLabel = 4120;

// The check box of each board feature.
struct FeatureBox {
  int id;
  BoardFeature feature;
};
inline constexpr FeatureBox kFeatureBoxes[] = {
    {kIdTyping, BoardFeature::kTyping},
    {kIdBacklight, BoardFeature::kBacklight},
    {kIdSticky, BoardFeature::kSticky},
};

// The window menu's entry that opens the About box.
inline constexpr int kIdAboutCommand = 0x10;

}  // namespace qp40
