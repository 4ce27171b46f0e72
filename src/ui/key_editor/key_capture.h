#pragma once

#include <cstdint>
#include <optional>

class QKeyEvent;

namespace qp40 {

// "Press a key to assign": the key dialog takes the next physical key press and stores the
// keypad's keyboard usage code (USB HID Keyboard/Keypad page) for it. The physical key is found
// from its scan code, so the same key gives the same code under any host keyboard layout.

// The usage of a Linux input event code (KEY_ESC = 1, KEY_1 = 2, KEY_A = 30 ...); nothing for a
// code that is no key of a PC keyboard.
std::optional<std::uint8_t> HidUsageFromEvdev(std::uint32_t evdev_code);

// The usage of a scan code as Qt reports it on X11 and Wayland: the X keycode, which is the input
// event code plus 8. Nothing below 8 or for an unknown key.
std::optional<std::uint8_t> HidUsageFromNativeScanCode(std::uint32_t native_scan_code);

// The usage of a Qt::Key value, read as a key of a US layout; Shift, Control, Alt and Meta give
// the left modifiers. For key presses that carry no scan code.
std::optional<std::uint8_t> HidUsageFromQtKey(int qt_key);

// The usage of a key press: from its scan code, else from its Qt key.
std::optional<std::uint8_t> HidUsageOfKeyEvent(const QKeyEvent& event);

}  // namespace qp40
