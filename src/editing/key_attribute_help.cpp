#include "editing/key_attribute_help.h"

#include <array>

namespace qp40 {
namespace {

constexpr auto kHelpTexts = std::to_array<std::string_view>({
    "Type 0 Keyboard Function \nFollow USB2.0 and HID Secification. Every key has one HID code, "
    "from 1~255. \nSupport HID and ASCII code ONLY, NOT language such as Chinese/Janpnese.\nBy "
    "Screen Keyboard or click keyboard to select key\nInput HID number to HID-EditBox for "
    "speicial key, eg. F15/F16.\nSymbols, @,#,&&..., are combination of shift+2,shift+3,shift+7, "
    "please check ShortCut .",
    "Type 1: Multimedia Function \nSupports total 21 media keys defined by Windows.\n\rSelect "
    "media key by Screen Keyboard.",
    "Type 2: Mouse Function \nSupport mouse button and moving linearly. Selcet mouse button by "
    "Screen Keyboard.\nX. horizontal moving, minus=moving left, positive=moving right.\nY. "
    "vertical   moving, minus=moving up,   positive=moving down.\n   scope:    -127~127,  Unit = "
    "Pixel\n   Wheel Key must config Y. for moving up or down.",
    "Type 3: Windows Shortcut \nSingle click output 1~3 keys to host,eg. Ctrl+C, Ctrl+v, Shift+2 "
    "\nSupport both keyboard and HID key, such as F15/F16.\nCombination of Keyboard and Mouse, "
    "eg. Ctrl + Mouse Left. \nConfigure Ctrl/Shift/Alt/Win by check-box or Screen keyboard with "
    "different action.\nBy check-box, device send Ctrl/Shift/Alt/Win down report to Host first, "
    "\n   next,send report with comibnation message after key released.\nBy Screen Keybaord, "
    "device burst combination message to host at once, \n   in case some software can't support "
    "so fast keystroke.",
    "Type 4: Hotkey && Burst: \nBurst means single click output several characters at "
    "once.\nTyping chars to EditBox directly, MAX 15 char\nCtrl/Shift/Alt/Win checked, device "
    "send it first, and then sending combination\nAdvantages: Fast. eg. CAD command DIMLINEAR. "
    "\nDisadvantage: too fast to be identified by some software.",
    "Type 5: String Function: \nJust like typing, send char to host one by one. Max 252 chars per "
    "string\nSupport ASCII(1~127) only,  NOT language such as Chinese/Japanese\nNon-print key "
    "with new name, eg. NumPad 1 = ^1, Enter=^e.\nTyping string to EditBox, or by Screen "
    "Keyboard, or copy...\nEvery string with one Number, Macro use the number to send "
    "string.\nAdvantages: just like keystroke by fingle, can match most "
    "software.\nDisadvantages:some keys are unsuported, such as F1,F2...\n    ^s -> Shift_left, "
    "^S -> Shift_right (down until next ^S)\n    ^a -> Alt_left, ^A -> Alt_right (down until "
    "next ^A)\n    ^0 ~ ^9  -> Num.0 ~ Num.9\n    ^t -> Tab, ^e -> Enter, ",
    "Type 6: Macro Trigger \nAssigned key to trigger a macro. MacroID = 0~31. \nStop macro "
    "running:\n  - Auto Run: run until finished\n  - Second Click: second click stop macro\n  - "
    "Release: press to start macro, release to stop macro\nNotic: click <Macro Script Edit> "
    "button to create macro script.",
    "Type 7: Tools Key \n    5 Sticky Key ON/OFF; \n   16 Profile1; 17 Profile2; 18 Profile3;  "
    "19 Profile4; \n   20 Profile5; 21 Profile6; 22 Profile7;  23 Profile8; \n   31 to last "
    "Profile; \n   32 Bluetooth reboot;    33 Bluetooth rebonding \n   35 USB/Bluetooth path;  "
    "36 Bluetooth sleep  \n   57 Panel LED On/Off;    59 Backlights On/Off \n  236 P1~P4 switch; "
    "      249 Device reboot ",
    "Type 8: Disable Key \n Disable one key.",
    "Type 9: Reserved  \n Reserved system function",
    "Type A:  Reserved  \n Reserved system function",
    "Type B: Reserved  \n Reserved system function",
});

// A key whose record the tool does not know (one never configured, say) opens with no type.
constexpr std::string_view kChooseTypeHelp =
    "This key has no function the tool knows.\nChoose a key type in the \"Key Type\" list to "
    "give it one. OK without a type leaves the key as it is.";

}  // namespace

std::string_view KeyTypeHelpText(int type_index) {
  if (type_index < 0 || static_cast<std::size_t>(type_index) >= kHelpTexts.size()) {
    return kChooseTypeHelp;
  }
  return kHelpTexts[static_cast<std::size_t>(type_index)];
}

}  // namespace qp40
