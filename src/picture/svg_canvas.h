#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qp40 {

// Writes the elements of an SVG document as text, in whole pixels so that the same drawing
// always gives the same bytes. Texts handed in must already be escaped for XML.
class SvgCanvas {
 public:
  enum class Anchor { kStart, kMiddle };
  enum class Weight { kNormal, kBold };

  struct TextStyle {
    int size = 12;
    std::uint32_t color = 0;  // RGB with red in the low byte, as the key colour table
    Anchor anchor = Anchor::kStart;
    Weight weight = Weight::kNormal;
  };

  void Rect(int x, int y, int width, int height, std::uint32_t fill, std::uint32_t stroke);
  void Text(int x, int y, const TextStyle& style, std::string_view escaped_text);
  // Starts and ends a group, for one key or one part of the sheet.
  void BeginGroup(std::string_view escaped_id);
  void EndGroup();

  // The whole document of `width` by `height` pixels around the elements written so far.
  std::string Document(int width, int height, std::string_view escaped_title) const;

 private:
  std::string body_;
};

// "#rrggbb" of a colour with red in the low byte.
std::string HexColor(std::uint32_t color);

}  // namespace qp40
