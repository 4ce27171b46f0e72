#pragma once

#include <Qt>
#include <cstdint>
#include <optional>

namespace qp40 {

// The recorder writes key events in the window system's virtual-key codes, which the recorder's
// name table turns into script words. This gives the code of a Qt key, read as a key of a US
// layout: the shifted forms of digits and punctuation give the key they are typed on (Shift is
// recorded on its own), so a replayed Shift and key type the same character. With
// Qt::KeypadModifier, digits and * + - . / give the keypad's own codes and the keypad's Enter
// is Enter; other keypad keys (Home, End, ... with Num Lock off) give their navigation key.
// Nothing for a key without a code.
std::optional<std::uint8_t> VirtualKeyFromQtKey(int qt_key, Qt::KeyboardModifiers modifiers = {});

}  // namespace qp40
