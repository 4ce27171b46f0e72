#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace qp40 {

// Sizes of the fixed name tables. Every accessor below answers an index outside its table with
// the empty text (or no value) instead of reading past it.
inline constexpr std::size_t kVirtualKeyNameCount = 260;
inline constexpr std::size_t kMediaKeyCount = 27;
inline constexpr std::size_t kMouseNameCount = 10;
inline constexpr std::size_t kScreenKeyCount = 123;
inline constexpr std::size_t kTypeNameCount = 13;
inline constexpr std::size_t kStopModeCount = 3;

// Name of a Windows virtual-key code as the macro recorder writes it; "NULL" for keys without
// one (also for 256..259).
std::string_view VirtualKeyName(std::size_t virtual_key);

// Name of a media code (operand 1 of a multimedia key), ">>|" for 0 up to "WakeUp" for 26.
std::string_view MediaKeyName(std::size_t media_code);

// Mouse names by position: "M_Left" .. "M_Button8", "M_Wheel", "Move".
std::string_view MouseName(std::size_t position);
// Mouse button byte of the name at `position`: 1 << position for the eight buttons, 0xFF for
// the wheel, 0 for a plain movement.
std::optional<std::uint8_t> MouseButtonByte(std::size_t position);

// One key of the screen keyboard: its key word, and the text it adds while a string, burst text
// or macro number is being typed ("?" when it adds none of its own).
struct ScreenKey {
  std::string_view name;
  std::string_view text;
};
ScreenKey ScreenKeyAt(std::size_t screen_key);

// "0 Keyboard Function" .. "C Null", indexed by type index.
std::string_view TypeName(std::size_t type_index);

// "0 Auto Run", "1 Second Click", "2 Key Release".
std::string_view StopModeName(std::size_t stop_mode);

}  // namespace qp40
