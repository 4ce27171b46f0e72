#include "editing/screen_keyboard.h"

#include <algorithm>
#include <array>

#include "keys/name_tables.h"

namespace qp40 {
namespace {

constexpr int kFirstScreenKeyId = 3114;
constexpr int kFirstMouseId = 3226;
constexpr int kKeyWidth = 15;
constexpr int kKeyHeight = 13;
constexpr int kMediaHeight = 10;
constexpr int kToolWidth = 32;
// The index of "Reboot" in the key word table: its pick position.
constexpr int kRebootPickPosition = 204;

constexpr ScreenKeyboardButton Key(int id, std::string_view caption, int x, int y,
                                   int width = kKeyWidth, int height = kKeyHeight) {
  return {id, caption, x, y, width, height, PickKind::kScreenKey, id - kFirstScreenKeyId};
}
constexpr ScreenKeyboardButton Media(int id, std::string_view caption, int code, int x, int y,
                                     int width) {
  return {id, caption, x, y, width, kMediaHeight, PickKind::kMedia, code};
}
constexpr ScreenKeyboardButton Mouse(int id, std::string_view caption, int x) {
  return {id, caption, x, 210, kToolWidth, kKeyHeight, PickKind::kMouse, id - kFirstMouseId};
}
constexpr ScreenKeyboardButton Hidden(int id, std::string_view caption, int x) {
  return {id, caption, x, 156, kToolWidth, kKeyHeight, PickKind::kNone, 0, true};
}

constexpr auto kButtons = std::to_array<ScreenKeyboardButton>({
    // Function key row.
    Key(3114, "Esc", 14, 71, 24),
    Key(3115, "F1", 45, 71),
    Key(3116, "F2", 61, 71),
    Key(3117, "F3", 77, 71),
    Key(3118, "F4", 93, 71),
    Key(3119, "F5", 118, 71),
    Key(3120, "F6", 134, 71),
    Key(3121, "F7", 150, 71),
    Key(3122, "F8", 165, 71),
    Key(3123, "F9", 191, 71),
    Key(3124, "F10", 207, 71),
    Key(3125, "F11", 223, 71),
    Key(3126, "F12", 239, 71),
    Key(3127, "psc", 259, 71),
    Key(3128, "scr", 277, 71),
    Key(3129, "brk", 293, 71),
    Key(3208, "Fn1", 313, 71, 33),
    Key(3219, "Fn2", 346, 71, 32),
    // Digit row.
    Key(3132, "` ~", 14, 87),
    Key(3133, "1 !", 30, 87),
    Key(3134, "2 @", 45, 87),
    Key(3135, "3 #", 61, 87),
    Key(3136, "4 $", 77, 87),
    Key(3137, "5 %", 93, 87),
    Key(3138, "6 ^", 110, 87),
    Key(3139, "7 &&", 126, 87),
    Key(3140, "8 *", 142, 87),
    Key(3141, "9 (", 158, 87),
    Key(3142, "0 )", 177, 87),
    Key(3143, "- _", 193, 87),
    Key(3144, "= +", 209, 87),
    Key(3145, "Back", 225, 87, 31),
    Key(3150, "Ins", 259, 87),
    Key(3169, "Hm", 277, 87),
    Key(3130, "Pup", 293, 87),
    Key(3146, "Num", 310, 87, 19),
    Key(3147, "/", 330, 87),
    Key(3148, "*", 346, 87),
    Key(3149, "-", 363, 87),
    // Upper letter row.
    Key(3151, "Tab", 14, 101, 29),
    Key(3152, "Q", 45, 101),
    Key(3153, "W", 61, 101),
    Key(3154, "E", 77, 101),
    Key(3155, "R", 93, 101),
    Key(3156, "T", 110, 101),
    Key(3157, "Y", 126, 101),
    Key(3158, "U", 142, 101),
    Key(3159, "I", 158, 101),
    Key(3160, "O", 177, 101),
    Key(3161, "P", 193, 101),
    Key(3162, "[ {", 209, 101),
    Key(3163, "] }", 225, 101),
    Key(3164, "\\ |", 241, 101),
    Key(3186, "Del", 259, 101),
    Key(3187, "End", 277, 101),
    Key(3131, "Pdn", 293, 101),
    Key(3165, "7", 313, 101),
    Key(3166, "8", 330, 101),
    Key(3167, "9", 346, 101),
    Key(3168, "+", 363, 101, 15, 25),
    // Middle letter row.
    Key(3170, "Caps", 14, 114, 29),
    Key(3171, "A", 45, 114),
    Key(3172, "S", 61, 114),
    Key(3173, "D", 77, 114),
    Key(3174, "F", 93, 114),
    Key(3175, "G", 110, 114),
    Key(3176, "H", 126, 114),
    Key(3177, "J", 142, 114),
    Key(3178, "K", 158, 114),
    Key(3179, "L", 177, 114),
    Key(3180, "; :", 193, 114),
    Key(3181, "' \"", 209, 114),
    Key(3182, "Enter", 225, 114, 31),
    Key(3183, "4", 313, 114),
    Key(3184, "5", 330, 114),
    Key(3185, "6", 346, 114),
    // Lower letter row.
    Key(3188, "Shift", 14, 128, 29),
    Key(3189, "Z", 45, 128),
    Key(3190, "X", 61, 128),
    Key(3191, "C", 77, 128),
    Key(3192, "V", 93, 128),
    Key(3193, "B", 110, 128),
    Key(3194, "N", 126, 128),
    Key(3195, "M", 142, 128),
    Key(3196, ", <", 158, 128),
    Key(3197, ". >", 177, 128),
    Key(3198, "/ ?", 193, 128),
    Key(3220, "J1", 209, 128),
    Key(3199, "Shift", 225, 128, 30),
    Key(3203, "\u2191", 277, 128),
    Key(3200, "1", 313, 128),
    Key(3201, "2", 330, 128),
    Key(3202, "3", 346, 128),
    Key(3216, "Ent", 363, 128, 15, 27),
    // Space bar row.
    Key(3205, "Ctrl", 14, 143, 19),
    Key(3206, "Win", 34, 143, 19),
    Key(3207, "Alt", 53, 143, 19),
    Key(3223, "J4", 73, 143),
    Key(3209, "SpaceBar", 89, 143, 52),
    Key(3222, "J3", 142, 143),
    Key(3221, "J2", 158, 143),
    Key(3210, "Alt", 177, 143, 19),
    Key(3211, "Win", 197, 143, 19),
    Key(3212, "App", 215, 143, 18),
    Key(3213, "Ctrl", 234, 143, 21),
    Key(3204, "\u2190", 261, 143),
    Key(3217, "\u2193", 277, 143),
    Key(3218, "\u2192", 293, 143),
    Key(3214, "0", 313, 143, 32),
    Key(3215, ".", 346, 143),
    // Media keys.
    Media(3236, "|<<", 1, 15, 23, 23),
    Media(3238, "Play", 3, 38, 23, 23),
    Media(3235, ">>|", 0, 62, 23, 24),
    Media(3239, "Mute", 4, 87, 23, 26),
    Media(3249, "Calculator", 14, 116, 23, 39),
    Media(3248, "Email", 13, 156, 23, 36),
    Media(3262, "PowerDown", 24, 198, 23, 60),
    Media(3252, "Browser", 17, 261, 23, 29),
    Media(3251, "Search", 16, 291, 23, 28),
    Media(3253, "Back", 18, 320, 23, 21),
    Media(3254, "Forward", 19, 343, 23, 34),
    Media(3237, "Stop", 2, 15, 37, 27),
    Media(3241, "Volume+", 6, 43, 37, 34),
    Media(3242, "Volume-", 7, 78, 37, 34),
    Media(3250, "My Computer", 15, 116, 37, 49),
    Media(3247, "Video", 12, 166, 37, 25),
    Media(3264, "Sleep", 25, 198, 37, 27),
    Media(3265, "WakeUP", 26, 226, 37, 32),
    Media(3259, "Cancel", 20, 261, 37, 39),
    Media(3260, "Refresh", 21, 301, 37, 33),
    Media(3261, "Bookmarks", 22, 335, 37, 43),
    // Keypad tools.
    ScreenKeyboardButton{3263, "Profile", 69, 179, kToolWidth, kKeyHeight, PickKind::kTool, 0},
    ScreenKeyboardButton{3269, "Reboot", 103, 179, kToolWidth, kKeyHeight, PickKind::kTool,
                         kRebootPickPosition},
    // Mouse buttons.
    Mouse(3226, "Left", 69),
    Mouse(3227, "Right", 102),
    Mouse(3228, "Middle", 135),
    Mouse(3229, "Button4", 169),
    Mouse(3230, "Button5", 202),
    Mouse(3231, "Button6", 235),
    Mouse(3232, "Button7", 269),
    Mouse(3233, "Button8", 305),
    Mouse(3234, "Wheel", 339),
    // Never shown.
    Hidden(3255, "Layer1Up", 14),
    Hidden(3256, "Layer2Up", 48),
    Hidden(3257, "Layer", 82),
    Hidden(3258, "Layer2Lock", 116),
    Hidden(3266, "Profile2", 150),
    Hidden(3267, "Profile3", 184),
    Hidden(3268, "Profile4", 218),
});

constexpr auto kChordPickFields =
    std::to_array<int>({1124, 1125, 1126, 1127, 1130, 1131, 1142, 1143});

constexpr int kMacroPickName = 1124;
constexpr int kMacroScreenKeyName = 1125;
constexpr int kMacroAppendKeyName = 1126;

}  // namespace

std::span<const ScreenKeyboardButton> ScreenKeyboardButtons() { return kButtons; }

std::optional<ScreenKeyPick> PickOfButton(int id) {
  const auto* button = std::find_if(kButtons.begin(), kButtons.end(),
                                    [id](const ScreenKeyboardButton& b) { return b.id == id; });
  if (button == kButtons.end()) return std::nullopt;
  const auto value = static_cast<std::size_t>(button->value);
  switch (button->kind) {
    case PickKind::kScreenKey:
      return ScreenKeyPick{button->kind, std::string(ScreenKeyAt(value).name), button->value, {}};
    case PickKind::kMedia:
      return ScreenKeyPick{button->kind, std::string(MediaKeyName(value)), button->value,
                           button->value};
    case PickKind::kTool:
      return ScreenKeyPick{button->kind, std::string(button->caption), button->value, {}};
    case PickKind::kMouse:
      return ScreenKeyPick{button->kind, std::string(MouseName(value)), button->value, {}};
    case PickKind::kNone:
      break;
  }
  return std::nullopt;
}

int ChordPickField(int last_focused_field) {
  const bool takes_pick = std::find(kChordPickFields.begin(), kChordPickFields.end(),
                                    last_focused_field) != kChordPickFields.end();
  return takes_pick ? last_focused_field : kChordDefaultPickField;
}

std::optional<FieldText> MacroEditorPick(int last_focused_field, std::string_view current_text,
                                         const ScreenKeyPick& pick) {
  if (last_focused_field == kMacroPickName) return FieldText{kMacroPickName, pick.name};
  const std::string key_name(ScreenKeyAt(static_cast<std::size_t>(pick.position)).name);
  if (last_focused_field == kMacroScreenKeyName) return FieldText{kMacroScreenKeyName, key_name};
  if (last_focused_field == kMacroAppendKeyName) {
    return FieldText{kMacroAppendKeyName, std::string(current_text) + key_name};
  }
  return std::nullopt;
}

}  // namespace qp40
