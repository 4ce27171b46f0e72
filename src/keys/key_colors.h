#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace qp40 {

// Colour values are 32-bit RGB with red in the low byte, then green, then blue.
constexpr std::uint32_t Rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return std::uint32_t{red} | std::uint32_t{green} << 8 | std::uint32_t{blue} << 16;
}

// Colours of the key grid: 0 a key just clicked, 1 keyboard keys, 2 every label, then one per
// function type 1..12 (index type + 2).
inline constexpr std::array<std::uint32_t, 15> kKeyColors = {
    Rgb(160, 160, 160), Rgb(0, 0, 0),   Rgb(255, 255, 255), Rgb(100, 50, 50), Rgb(200, 0, 0),
    Rgb(125, 0, 255),   Rgb(0, 0, 200), Rgb(0, 100, 100),   Rgb(170, 170, 0), Rgb(0, 100, 0),
    Rgb(160, 160, 160), Rgb(0, 0, 70),  Rgb(10, 100, 20),   Rgb(50, 80, 100), Rgb(80, 200, 100),
};
inline constexpr int kClickedKeyColorIndex = 0;
inline constexpr int kPlainKeyColorIndex = 1;

// Entry `index` of the colour table; black for an index outside it.
constexpr std::uint32_t KeyColor(int index) {
  return index >= 0 && static_cast<std::size_t>(index) < kKeyColors.size() ? kKeyColors[index]
                                                                           : Rgb(0, 0, 0);
}

}  // namespace qp40
