#include "picture/svg_canvas.h"

namespace qp40 {
namespace {

constexpr std::uint32_t kPaperColor = 0xFFFFFF;
// Monospace, so that the number of characters that fit a key follows from its width.
constexpr std::string_view kFontFamily = "DejaVu Sans Mono, Menlo, Consolas, monospace";

std::string Number(int value) { return std::to_string(value); }

}  // namespace

std::string HexColor(std::uint32_t color) {
  static constexpr std::string_view kDigits = "0123456789abcdef";
  std::string text = "#";
  for (int shift : {0, 8, 16}) {
    const std::uint32_t channel = (color >> shift) & 0xFF;
    text += kDigits[channel >> 4];
    text += kDigits[channel & 0xF];
  }
  return text;
}

void SvgCanvas::Rect(int x, int y, int width, int height, std::uint32_t fill,
                     std::uint32_t stroke) {
  body_.append("<rect x=\"").append(Number(x));
  body_.append("\" y=\"").append(Number(y));
  body_.append("\" width=\"").append(Number(width));
  body_.append("\" height=\"").append(Number(height));
  body_.append("\" rx=\"4\" fill=\"").append(HexColor(fill));
  body_.append("\" stroke=\"").append(HexColor(stroke)).append("\"/>\n");
}

void SvgCanvas::Text(int x, int y, const TextStyle& style, std::string_view escaped_text) {
  // Appended piece by piece: the appendix of a full keypad writes thousands of lines.
  body_.append("<text x=\"").append(Number(x));
  body_.append("\" y=\"").append(Number(y));
  body_.append("\" font-size=\"").append(Number(style.size));
  body_.append("\" fill=\"").append(HexColor(style.color)).append("\"");
  if (style.anchor == Anchor::kMiddle) body_ += " text-anchor=\"middle\"";
  if (style.weight == Weight::kBold) body_ += " font-weight=\"bold\"";
  // Runs of spaces in a string text are part of what the key types.
  body_ += " xml:space=\"preserve\">";
  body_.append(escaped_text);
  body_ += "</text>\n";
}

void SvgCanvas::BeginGroup(std::string_view escaped_id) {
  body_ += "<g id=\"";
  body_.append(escaped_id);
  body_ += "\">\n";
}

void SvgCanvas::EndGroup() { body_ += "</g>\n"; }

std::string SvgCanvas::Document(int width, int height, std::string_view escaped_title) const {
  std::string document = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  document += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" + Number(width) +
              "\" height=\"" + Number(height) + "\" viewBox=\"0 0 " + Number(width) + " " +
              Number(height) + "\">\n";
  document += "<title>";
  document.append(escaped_title);
  document += "</title>\n";
  document += "<rect width=\"" + Number(width) + "\" height=\"" + Number(height) + "\" fill=\"" +
              HexColor(kPaperColor) + "\"/>\n";
  document += "<g font-family=\"";
  document.append(kFontFamily);
  document += "\">\n";
  document += body_;
  document += "</g>\n</svg>\n";
  return document;
}

}  // namespace qp40
