#pragma once

#include <array>

namespace qp40 {

// Control ids of the two-key chord editor; the window-free logic and the Qt dialog both address
// the controls by them.
inline constexpr int kIdChordOk = 1;
inline constexpr int kIdChordCancel = 2;
inline constexpr int kIdChordCut = 1119;
inline constexpr int kIdChordSaveOnboard = 1120;
inline constexpr int kIdChordLoadOnboard = 1122;
inline constexpr int kIdChordOutput1 = 1124;
inline constexpr int kIdChordOutput2 = 1125;
inline constexpr int kIdChordOutput3 = 1126;
inline constexpr int kIdChordOutput4 = 1127;
inline constexpr int kIdChordOutput5 = 1130;
inline constexpr int kIdChordSixth = 1131;
inline constexpr int kIdChordRecordList = 1135;
inline constexpr int kIdChordCtrl = 1136;
inline constexpr int kIdChordShift = 1137;
inline constexpr int kIdChordAlt = 1138;
inline constexpr int kIdChordWin = 1139;
inline constexpr int kIdChordKey1 = 1142;
inline constexpr int kIdChordKey2 = 1143;
inline constexpr int kIdChordScreenKeyboard = 1144;
inline constexpr int kIdChordListPane = 1146;
inline constexpr int kIdChordLoadBackup = 1153;
inline constexpr int kIdChordBackupToPc = 1154;
inline constexpr int kIdChordEditGroup = 1164;
inline constexpr int kIdChordFirstHelpLine = 1167;

// The record fields in record byte order: the two trigger keys, then outputs 1 to 5.
inline constexpr std::array<int, 7> kChordKeyFields = {
    kIdChordKey1,    kIdChordKey2,    kIdChordOutput1, kIdChordOutput2,
    kIdChordOutput3, kIdChordOutput4, kIdChordOutput5,
};
// The modifier check boxes in the order of their bits (bit 0 Ctrl to bit 3 Win).
inline constexpr std::array<int, 4> kChordModifierBoxIds = {kIdChordCtrl, kIdChordShift,
                                                            kIdChordAlt, kIdChordWin};

}  // namespace qp40
