#pragma once

#include <QColor>
#include <QPushButton>
#include <cstdint>

class QPainter;

namespace qp40 {

// Colour values are 32-bit RGB with red in the low byte.
QColor ColorFromRgb(std::uint32_t rgb);
std::uint32_t RgbFromColor(const QColor& color);

// A push button that paints itself in two colours of its own: the key buttons of the grid.
class CClrButton : public QPushButton {
  Q_OBJECT

 public:
  // Bits of the item state handed to DrawItem.
  static constexpr unsigned kStateSelected = 0x01;
  static constexpr unsigned kStateDisabled = 0x04;
  static constexpr unsigned kStateFocus = 0x10;
  static constexpr unsigned kStateDefault = 0x20;

  // Bits of a frame style, drawn in the order black outline, raised, pressed.
  static constexpr unsigned kFrameOutline = 4;
  static constexpr unsigned kFrameRaised = 2;
  static constexpr unsigned kFramePressed = 1;

  explicit CClrButton(const QString& text = QString(), QWidget* parent = nullptr);

  // Stores both colours, takes the face colour of ordinary buttons for the disabled state and
  // asks for a repaint.
  void SetColors(std::uint32_t text_color, std::uint32_t background_color);

  std::uint32_t TextColor() const { return text_color_; }
  std::uint32_t BackgroundColor() const { return background_color_; }
  std::uint32_t DisabledBackgroundColor() const { return disabled_background_color_; }

  // A dot in the top-right corner: the key holds something the keypad does not yet.
  void SetMarked(bool marked);
  bool Marked() const { return marked_; }

  // Paints the button into `rect` for the given item state.
  void DrawItem(QPainter& painter, const QRect& rect, unsigned item_state) const;
  // The item state of the button as it stands.
  unsigned ItemState() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  // The second press of a double click is no click of its own.
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  void DrawFrame(QPainter& painter, QRect rect, unsigned style) const;
  void DrawMark(QPainter& painter, const QRect& rect) const;

  std::uint32_t text_color_;
  std::uint32_t background_color_;
  std::uint32_t disabled_background_color_;
  // Frame colours, taken from the palette once, when the button is made.
  std::uint32_t light_color_;
  std::uint32_t highlight_color_;
  std::uint32_t shadow_color_;
  std::uint32_t dark_shadow_color_;
  bool marked_ = false;
};

}  // namespace qp40
