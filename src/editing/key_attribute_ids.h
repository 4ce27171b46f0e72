#pragma once

namespace qp40 {

// Control ids of the key configuration dialog; the window-free logic and the Qt dialog both
// address the controls by them.
inline constexpr int kIdKeyOk = 1;
inline constexpr int kIdKeyCancel = 2;
inline constexpr int kIdKeyHeading = 1096;
inline constexpr int kIdKeyTypeList = 1097;
inline constexpr int kIdKeyUnusedList = 1098;
inline constexpr int kIdKeyStopModeList = 1099;
inline constexpr int kIdKeyScreenKeyboard = 1113;
inline constexpr int kIdKeyHelp = 1128;
inline constexpr int kIdKeyColumnHeading = 1181;
inline constexpr int kIdKeyTypeLabel = 1183;
inline constexpr int kIdKeyRow1Label = 1315;
inline constexpr int kIdKeyRow2Label = 1316;
inline constexpr int kIdKeyRow3Label = 1317;
inline constexpr int kIdKeyName1 = 4101;
inline constexpr int kIdKeyName2 = 4102;
inline constexpr int kIdKeyName3 = 4103;
inline constexpr int kIdKeyCode1 = 4104;
inline constexpr int kIdKeyCode2 = 4105;
inline constexpr int kIdKeyCode3 = 4106;
inline constexpr int kIdKeyCtrl = 4107;
inline constexpr int kIdKeyAlt = 4108;
inline constexpr int kIdKeyShift = 4109;
inline constexpr int kIdKeyWin = 4110;
inline constexpr int kIdKeyMouseLeft = 4111;
inline constexpr int kIdKeyMouseMiddle = 4112;
inline constexpr int kIdKeyMouseRight = 4113;
inline constexpr int kIdKeyCodeHeading = 4115;
inline constexpr int kIdKeyKeyboardLabel = 4116;
inline constexpr int kIdKeyMouseWheel = 4117;

// The target field before any name field had the focus.
inline constexpr int kNoTargetField = 1;

}  // namespace qp40
