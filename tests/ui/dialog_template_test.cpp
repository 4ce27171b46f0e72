// Dialogs built from templates in dialog units, and controls found by their ids.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <array>

#include "ui/common/dialog_template.h"

namespace qp40 {
namespace {

TEST(DialogUnits, AQuarterOfTheCharacterWidthAcrossAndAnEighthOfItsHeightDown) {
  const DialogUnits units(7, 14);
  EXPECT_EQ(units.ToPixels(4, 8, 100, 16), QRect(7, 14, 175, 28));
  // 1.75 and 1.75 pixels per unit: halves round away from zero.
  EXPECT_EQ(units.ToPixelsX(2), 4);    // 3.5
  EXPECT_EQ(units.ToPixelsX(1), 2);    // 1.75
  EXPECT_EQ(units.ToPixelsY(3), 5);    // 5.25
  EXPECT_EQ(units.ToPixelsY(-2), -4);  // -3.5

  // Measured from a font: the width is the mean advance of the letters.
  QFont font;
  font.setPixelSize(20);
  const DialogUnits measured(font);
  const QFontMetrics metrics(font);
  EXPECT_EQ(measured.BaseHeight(), metrics.height());
  EXPECT_NEAR(
      measured.BaseWidth(),
      metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") / 52.0,
      1.0);
}

TEST(DialogTemplates, BuildEveryControlAtItsPlaceAndFindItById) {
  static constexpr std::array controls = {
      ControlEntry{1, ControlKind::kDefaultPushButton, "OK", 10, 20, 50, 14},
      ControlEntry{2, ControlKind::kCheckBox, "Sticky", 10, 40, 50, 10},
      ControlEntry{3, ControlKind::kDropDownList, "", 70, 20, 60, 120},
      ControlEntry{kStaticId, ControlKind::kStaticText, "a label", 70, 40, 60, 8},
  };
  constexpr DialogTemplate dialog_template{"Template", 140, 60, controls};
  QDialog dialog;
  BuildDialog(dialog, dialog_template);
  const DialogUnits units(dialog.font());

  EXPECT_EQ(dialog.windowTitle(), "Template");
  EXPECT_EQ(dialog.size(), QSize(units.ToPixelsX(140), units.ToPixelsY(60)));
  auto* ok = DialogItem<QPushButton>(dialog, 1);
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(ok->geometry(), units.ToPixels(10, 20, 50, 14));
  EXPECT_TRUE(ok->isDefault());
  ASSERT_NE(DialogItem<QCheckBox>(dialog, 2), nullptr);
  EXPECT_EQ(DialogItem<QCheckBox>(dialog, 2)->text(), "Sticky");
  // The list's template height is that of its open list; closed it is one line.
  auto* list = DialogItem<QComboBox>(dialog, 3);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->height(), list->sizeHint().height());
  EXPECT_EQ(list->width(), units.ToPixelsX(60));
  // Wrong type, unknown id.
  EXPECT_EQ(DialogItem<QComboBox>(dialog, 1), nullptr);
  EXPECT_EQ(DialogItem(dialog, 99), nullptr);

  SetItemText(dialog, 1, "Sure");
  EnableItem(dialog, 2, false);
  SetItemText(dialog, 99, "ignored");
  EXPECT_EQ(ok->text(), "Sure");
  EXPECT_FALSE(DialogItem(dialog, 2)->isEnabled());
}

}  // namespace
}  // namespace qp40
