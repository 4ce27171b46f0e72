// Painting of the coloured key buttons: fill, the three frames, the label and its offsets.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "ui/common/clr_button.h"

namespace qp40 {
namespace {

const QColor kLight(10, 20, 30);
const QColor kHighlight(40, 50, 60);
const QColor kShadow(70, 80, 90);
const QColor kDarkShadow(100, 110, 120);
const QColor kFace(130, 140, 150);
constexpr std::uint32_t kRed = 0x0000C8;     // 200, 0, 0
constexpr std::uint32_t kYellow = 0x00FFFF;  // 255, 255, 0
constexpr int kWidth = 60;
constexpr int kHeight = 30;

// A button whose frame colours are all different, with an unsmoothed font so that every text
// pixel has the text colour.
class ClrButtonPaint : public ::testing::Test {
 protected:
  ClrButtonPaint() {
    QPalette palette = holder_.palette();
    palette.setColor(QPalette::Midlight, kLight);
    palette.setColor(QPalette::Light, kHighlight);
    palette.setColor(QPalette::Dark, kShadow);
    palette.setColor(QPalette::Shadow, kDarkShadow);
    palette.setColor(QPalette::Button, kFace);
    holder_.setPalette(palette);
    button_ = new CClrButton(QStringLiteral("W"), &holder_);
    QFont font = button_->font();
    font.setStyleStrategy(QFont::NoAntialias);
    font.setPixelSize(14);
    button_->setFont(font);
    button_->SetColors(kYellow, kRed);
  }

  QImage Paint(unsigned state) const {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    button_->DrawItem(painter, image.rect(), state);
    return image;
  }

  // Bounding box of the pixels of one colour, away from the frame.
  static QRect Box(const QImage& image, const QColor& color) {
    QRect box;
    for (int y = 3; y < kHeight - 3; ++y) {
      for (int x = 3; x < kWidth - 3; ++x) {
        if (image.pixelColor(x, y) == color) box |= QRect(x, y, 1, 1);
      }
    }
    return box;
  }

  QWidget holder_;
  CClrButton* button_;
};

TEST_F(ClrButtonPaint, ConstructionColoursAreWhiteOnBlack) {
  const CClrButton plain;
  EXPECT_EQ(plain.TextColor(), 0xFFFFFFu);
  EXPECT_EQ(plain.BackgroundColor(), 0x000000u);
  EXPECT_EQ(plain.DisabledBackgroundColor(), 0x000000u);
  EXPECT_EQ(button_->DisabledBackgroundColor(), RgbFromColor(kFace));
}

struct FrameCase {
  const char* name;
  unsigned state;
  // Expected pixels: outer top-left, outer top-right, outer bottom-left, then one ring in.
  QColor outer_top_left, outer_top_right, outer_bottom_left, inner_top_left, inner_bottom_right,
      third_ring;
};

TEST_F(ClrButtonPaint, EachStateDrawsItsFrame) {
  const QColor black(0, 0, 0);
  const QColor fill = ColorFromRgb(kRed);
  const FrameCase cases[] = {
      // Raised: the bottom and right lines are drawn last and take the corners.
      {"raised", 0, kHighlight, kDarkShadow, kDarkShadow, kLight, kShadow, fill},
      {"pressed", CClrButton::kStateSelected, kDarkShadow, kDarkShadow, kDarkShadow, kShadow,
       kShadow, fill},
      {"focus", CClrButton::kStateFocus, black, black, black, kHighlight, kDarkShadow, kLight},
      {"default", CClrButton::kStateDefault, black, black, black, kHighlight, kDarkShadow, kLight},
      // A pressed button with the focus shows the pressed frame.
      {"pressed focus", CClrButton::kStateSelected | CClrButton::kStateFocus, kDarkShadow,
       kDarkShadow, kDarkShadow, kShadow, kShadow, fill},
  };
  for (const FrameCase& c : cases) {
    const QImage image = Paint(c.state);
    EXPECT_EQ(image.pixelColor(0, 0), c.outer_top_left) << c.name;
    EXPECT_EQ(image.pixelColor(kWidth - 1, 0), c.outer_top_right) << c.name;
    EXPECT_EQ(image.pixelColor(0, kHeight - 1), c.outer_bottom_left) << c.name;
    EXPECT_EQ(image.pixelColor(1, 1), c.inner_top_left) << c.name;
    EXPECT_EQ(image.pixelColor(kWidth - 2, kHeight - 2), c.inner_bottom_right) << c.name;
    EXPECT_EQ(image.pixelColor(2, 2), c.third_ring) << c.name;
    EXPECT_EQ(image.pixelColor(4, 4), fill) << c.name;
  }
}

TEST_F(ClrButtonPaint, TheLabelDropsOnePixelWhilePressed) {
  const QRect up = Box(Paint(0), ColorFromRgb(kYellow));
  const QRect down = Box(Paint(CClrButton::kStateSelected), ColorFromRgb(kYellow));
  ASSERT_FALSE(up.isEmpty());
  EXPECT_EQ(down, up.translated(1, 1));
}

TEST_F(ClrButtonPaint, ADisabledButtonShowsEngravedTextOnTheFaceColour) {
  const QImage image = Paint(CClrButton::kStateDisabled);
  EXPECT_EQ(image.pixelColor(4, 4), kFace);
  const QRect grey = Box(image, QColor(0x80, 0x80, 0x80));
  const QRect white = Box(image, QColor(255, 255, 255));
  ASSERT_FALSE(grey.isEmpty());
  ASSERT_FALSE(white.isEmpty());
  // The white copy lies one pixel below and right of the grey text, and peeks out there.
  EXPECT_EQ(white.bottomRight(), grey.bottomRight() + QPoint(1, 1));
  // The grey text is where an enabled label stands.
  EXPECT_EQ(grey, Box(Paint(0), ColorFromRgb(kYellow)));
  EXPECT_TRUE(Box(image, ColorFromRgb(kYellow)).isEmpty());
}

TEST_F(ClrButtonPaint, AMarkedKeyShowsAWhiteDotRingedInBlackInItsTopRightCorner) {
  const QImage plain = Paint(0);
  button_->SetMarked(true);
  const QImage marked = Paint(0);
  // Dark and light faces alike: the ring shows on a light face, the dot on a dark one.
  const QPoint centre(kWidth - 7, 6);
  EXPECT_EQ(plain.pixelColor(centre), ColorFromRgb(kRed));
  EXPECT_EQ(marked.pixelColor(centre), QColor(255, 255, 255));
  // The ring: dark pixels around the dot, inside the frame.
  QRect ring;
  for (int y = 3; y < kHeight - 3; ++y) {
    for (int x = 3; x < kWidth - 3; ++x) {
      if (marked.pixelColor(x, y).lightness() < 64) ring |= QRect(x, y, 1, 1);
    }
  }
  ASSERT_FALSE(ring.isEmpty());
  EXPECT_TRUE(ring.contains(centre));
  EXPECT_GT(ring.left(), kWidth / 2);
  EXPECT_LT(ring.bottom(), kHeight / 2);
  // The label is drawn as before.
  EXPECT_EQ(Box(marked, ColorFromRgb(kYellow)), Box(plain, ColorFromRgb(kYellow)));
  button_->SetMarked(false);
  EXPECT_EQ(Paint(0), plain);
}

TEST_F(ClrButtonPaint, TheWidgetPaintsItsOwnStateAndColours) {
  button_->resize(kWidth, kHeight);
  button_->SetColors(0xFFFFFF, 0x640000);  // 0, 0, 100
  EXPECT_EQ(button_->grab().toImage().pixelColor(4, 4), QColor(0, 0, 100));
  button_->setDown(true);
  EXPECT_EQ(button_->ItemState() & CClrButton::kStateSelected, CClrButton::kStateSelected);
  EXPECT_EQ(button_->grab().toImage().pixelColor(0, 0), kDarkShadow);
  button_->setDown(false);
  button_->setEnabled(false);
  EXPECT_EQ(button_->grab().toImage().pixelColor(4, 4), kFace);
}

}  // namespace
}  // namespace qp40
