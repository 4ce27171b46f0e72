#include "ui/common/clr_button.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QPen>
#include <algorithm>

namespace qp40 {

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kEngravedGrey = 0x808080;
// The unsaved mark: a white dot with a black ring, which stands out on every key colour and
// whatever the desktop's colour scheme, a little inside the frame.
constexpr int kMarkMinDiameter = 6;
constexpr int kMarkDiameterDivisor = 4;
constexpr int kMarkInset = 3;
// The button draws at most this many characters of its text; the rest is cut.
constexpr int kMaxTextLength = 511;

// Draws a frame line from `from` up to, not including, `to`: the end points of the frame's edges
// lie just outside the area they frame. Frame lines are only ever horizontal or vertical.
void Line(QPainter& painter, QPoint from, QPoint to) {
  if (from.y() == to.y()) {
    if (to.x() > from.x()) painter.drawLine(from, QPoint(to.x() - 1, to.y()));
  } else if (to.y() > from.y()) {
    painter.drawLine(from, QPoint(to.x(), to.y() - 1));
  }
}

// The four sides of a frame; `right` and `bottom` lie just outside the rectangle.
struct Edges {
  int left;
  int top;
  int right;
  int bottom;

  void Shrink() {
    ++left;
    ++top;
    --right;
    --bottom;
  }
};

void TopAndLeft(QPainter& painter, const Edges& e, std::uint32_t color) {
  painter.setPen(ColorFromRgb(color));
  Line(painter, {e.left, e.top}, {e.right, e.top});
  Line(painter, {e.left, e.top}, {e.left, e.bottom});
}

void BottomAndRight(QPainter& painter, const Edges& e, std::uint32_t color) {
  painter.setPen(ColorFromRgb(color));
  Line(painter, {e.left, e.bottom - 1}, {e.right, e.bottom - 1});
  Line(painter, {e.right - 1, e.top}, {e.right - 1, e.bottom});
}

}  // namespace

QColor ColorFromRgb(std::uint32_t rgb) {
  return QColor(static_cast<int>(rgb & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                static_cast<int>((rgb >> 16) & 0xFF));
}

std::uint32_t RgbFromColor(const QColor& color) {
  return static_cast<std::uint32_t>(color.red()) | static_cast<std::uint32_t>(color.green()) << 8 |
         static_cast<std::uint32_t>(color.blue()) << 16;
}

CClrButton::CClrButton(const QString& text, QWidget* parent)
    : QPushButton(text, parent),
      text_color_(kWhite),
      background_color_(kBlack),
      disabled_background_color_(kBlack),
      light_color_(RgbFromColor(palette().color(QPalette::Midlight))),
      highlight_color_(RgbFromColor(palette().color(QPalette::Light))),
      shadow_color_(RgbFromColor(palette().color(QPalette::Dark))),
      dark_shadow_color_(RgbFromColor(palette().color(QPalette::Shadow))) {
  // The button paints every pixel itself.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAutoDefault(false);
}

void CClrButton::SetColors(std::uint32_t text_color, std::uint32_t background_color) {
  text_color_ = text_color;
  background_color_ = background_color;
  disabled_background_color_ = RgbFromColor(palette().color(QPalette::Button));
  update();
}

void CClrButton::SetMarked(bool marked) {
  if (marked == marked_) return;
  marked_ = marked;
  update();
}

unsigned CClrButton::ItemState() const {
  unsigned state = 0;
  if (isDown()) state |= kStateSelected;
  if (!isEnabled()) state |= kStateDisabled;
  if (hasFocus()) state |= kStateFocus;
  if (isDefault()) state |= kStateDefault;
  return state;
}

void CClrButton::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  DrawItem(painter, rect(), ItemState());
}

void CClrButton::DrawItem(QPainter& painter, const QRect& rect, unsigned item_state) const {
  const bool disabled = (item_state & kStateDisabled) != 0;
  const bool selected = (item_state & kStateSelected) != 0;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.fillRect(rect, ColorFromRgb(disabled ? disabled_background_color_ : background_color_));

  unsigned style = kFrameRaised;
  if (selected) {
    style = kFramePressed;
  } else if ((item_state & (kStateFocus | kStateDefault)) != 0) {
    style = kFrameOutline | kFrameRaised;
  }
  DrawFrame(painter, rect, style);

  // The label sits one pixel up and left, and drops into place while the button is pressed.
  const QString label = text().left(kMaxTextLength);
  const QRect down = rect;
  const QRect up = rect.translated(-1, -1);
  const int flags = Qt::AlignCenter | Qt::TextSingleLine;
  painter.setFont(font());
  if (disabled) {
    // Engraved: a white copy below and to the right of the grey text.
    painter.setPen(ColorFromRgb(kWhite));
    painter.drawText(down, flags, label);
    painter.setPen(ColorFromRgb(kEngravedGrey));
    painter.drawText(up, flags, label);
  } else {
    painter.setPen(ColorFromRgb(text_color_));
    painter.drawText(selected ? down : up, flags, label);
  }
  if (marked_) DrawMark(painter, rect);
  painter.restore();
}

void CClrButton::DrawMark(QPainter& painter, const QRect& rect) const {
  const int diameter = std::max(kMarkMinDiameter, rect.height() / kMarkDiameterDivisor);
  const QRect dot(rect.right() - kMarkInset - diameter, rect.top() + kMarkInset, diameter,
                  diameter);
  painter.setPen(QPen(ColorFromRgb(kBlack), 1));
  painter.setBrush(ColorFromRgb(kWhite));
  painter.drawEllipse(dot);
}

void CClrButton::DrawFrame(QPainter& painter, QRect rect, unsigned style) const {
  Edges edges{rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
  if ((style & kFrameOutline) != 0) {
    TopAndLeft(painter, edges, kBlack);
    BottomAndRight(painter, edges, kBlack);
    edges.Shrink();
  }
  if ((style & kFrameRaised) != 0) {
    TopAndLeft(painter, edges, highlight_color_);
    BottomAndRight(painter, edges, dark_shadow_color_);
    edges.Shrink();
    TopAndLeft(painter, edges, light_color_);
    BottomAndRight(painter, edges, shadow_color_);
  }
  if ((style & kFramePressed) != 0) {
    TopAndLeft(painter, edges, dark_shadow_color_);
    BottomAndRight(painter, edges, dark_shadow_color_);
    edges.Shrink();
    TopAndLeft(painter, edges, shadow_color_);
    BottomAndRight(painter, edges, shadow_color_);
  }
}

void CClrButton::mouseDoubleClickEvent(QMouseEvent* event) { event->accept(); }

}  // namespace qp40
