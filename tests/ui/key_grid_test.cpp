// The key grid: labels and colours of a crafted profile, the four board layouts and the zoom.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <cstring>
#include <ostream>

#include "keys/key_colors.h"
#include "ui/common/clr_button.h"
#include "ui/common/dialog_template.h"
#include "ui/main/main_dialog_ids.h"
#include "ui_fixture.h"

namespace qp40::test {
namespace {

constexpr std::uint8_t kBurstBlock = 0x1E;
constexpr std::uint8_t kStringBlock = 0x20;

void SetBoardSetting(WindowRig& rig, std::size_t setting, std::uint8_t value) {
  rig.KeypadProfileBlock()[kSettingsOffset + setting] = value;
}

struct LabelCase {
  int position;
  std::array<std::uint8_t, 4> record;
  const char* label;
  std::uint32_t background;
};

TEST(KeyGrid, LabelsAndColoursFollowTheRecordsOfTheLoadedProfile) {
  const LabelCase cases[] = {
      {0, {0x80, 0x04, 0x00, 0x00}, "a", Rgb(0, 0, 0)},
      {1, {0x8F, 0x00, 0x00, 0x00}, "Null", Rgb(160, 160, 160)},
      {2, {0xA3, 0x01, 0x00, 0x00}, "M_Left", Rgb(200, 0, 0)},
      {3, {0xB5, 0x03, 0x00, 0x02}, "Macro 3", Rgb(170, 170, 0)},
      {4, {0x84, 0x01, 0x06, 0x19}, "Ctrl+cv", Rgb(125, 0, 255)},
      {5, {0xB3, 0x00, 0x00, 0x05}, "DIMLINEAR", Rgb(0, 0, 200)},
      {6, {0xB4, 0x00, 0x00, 0x03}, "Hello wor", Rgb(0, 100, 100)},
      {7, {0xB3, 0x00, 0x00, 0x06}, "R&D", Rgb(0, 0, 200)},
      {40, {0xA2, 0x0E, 0x00, 0x00}, "Calculato", Rgb(100, 50, 50)},
      {47, {0xBA, 0xEC, 0x00, 0x00}, "Profile", Rgb(0, 100, 0)},
  };
  WindowRig rig;
  for (const LabelCase& c : cases) PutRecord(rig.KeypadProfileBlock(), 0, c.position, c.record);
  // Burst entry 5 and string unit 3 (its text starts at byte 2 of the unit).
  std::memcpy(rig.keypad.BlockData(kBurstBlock).data() + 5 * 16, "DIMLINEAR", 10);
  std::memcpy(rig.keypad.BlockData(kBurstBlock).data() + 6 * 16, "R&D", 4);
  std::memcpy(rig.keypad.BlockData(kStringBlock).data() + 3 * 16 + 2, "Hello world!", 13);
  CMorvelDlg& dialog = rig.Open();

  for (const LabelCase& c : cases) {
    const CClrButton* button = dialog.KeyButton(c.position / 8 + 1, c.position % 8 + 1);
    EXPECT_EQ(button->text(), c.label) << c.position;
    // A label's "&" is text, never a keyboard shortcut.
    EXPECT_TRUE(button->shortcut().isEmpty()) << c.position;
    EXPECT_EQ(button->BackgroundColor(), c.background) << c.position;
    EXPECT_EQ(button->TextColor(), Rgb(255, 255, 255)) << c.position;
  }
  // What reaches the screen: the mouse key is painted red inside its frame.
  const QImage painted = dialog.KeyButton(1, 3)->grab().toImage();
  EXPECT_EQ(painted.pixelColor(4, 4), QColor(200, 0, 0));
  EXPECT_TRUE(DialogItem(dialog, kIdMacroScriptEdit)->isEnabled());
}

struct BoardCase {
  std::uint8_t code;
  int list_index;
  std::vector<int> hidden;
  std::vector<std::pair<int, QRect>> placed;  // at 96 DPI
};

void PrintTo(const BoardCase& board, std::ostream* out) {
  *out << "board code 0x" << std::hex << int{board.code};
}

class BoardLayouts : public ::testing::TestWithParam<BoardCase> {};

TEST_P(BoardLayouts, ShowHideAndPlaceTheButtonsOfTheBoardInTheSettings) {
  const BoardCase& board = GetParam();
  WindowRig rig;
  SetBoardSetting(rig, kSettingBoardType, board.code);
  CMorvelDlg& dialog = rig.Open();

  for (int row = 1; row <= 6; ++row) {
    for (int column = 1; column <= 8; ++column) {
      const int id = 3000 + 10 * row + column;
      const bool hidden =
          std::find(board.hidden.begin(), board.hidden.end(), id) != board.hidden.end();
      EXPECT_EQ(dialog.KeyButton(row, column)->isHidden(), hidden) << id;
    }
  }
  for (const auto& [id, rect] : board.placed) {
    EXPECT_EQ(DialogItem(dialog, id)->geometry(), rect) << id;
  }
  EXPECT_EQ(DialogItem<QComboBox>(dialog, kIdBoardTypeList)->currentIndex(), board.list_index);
  // Typing, backlight and the path list belong to the 43-key board only; sticky to all.
  const bool board43 = board.code == 0x43;
  EXPECT_EQ(DialogItem(dialog, kIdTyping)->isEnabled(), board43);
  EXPECT_EQ(DialogItem(dialog, kIdBacklight)->isEnabled(), board43);
  EXPECT_EQ(DialogItem(dialog, kIdPathTypeList)->isEnabled(), board43);
  EXPECT_TRUE(DialogItem(dialog, kIdSticky)->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(
    FourBoards, BoardLayouts,
    ::testing::Values(
        BoardCase{0x04, 0, {}, {{3011, {160, 20, 78, 40}}, {3068, {720, 270, 78, 40}}}},
        BoardCase{0x42, 1, {3065, 3068}, {{3058, {720, 220, 78, 90}}, {3066, {480, 270, 158, 40}}}},
        BoardCase{0x44,
                  2,
                  {3061, 3063, 3065, 3068},
                  {{3051, {160, 220, 78, 90}}, {3064, {320, 270, 158, 40}}}},
        BoardCase{
            0x43,
            3,
            {3038, 3048, 3058, 3067, 3068},
            {{3031, {160, 120, 118, 40}}, {3065, {560, 270, 178, 40}}, {3066, {740, 270, 78, 40}}}},
        // Codes outside the four show the 48-key board.
        BoardCase{0x00, 0, {}, {{3068, {720, 270, 78, 40}}}},
        BoardCase{0x40, 0, {}, {{3068, {720, 270, 78, 40}}}}));

struct ZoomCase {
  int dpi;
  QRect top_left;
  const char* log_line;
};

void PrintTo(const ZoomCase& zoom, std::ostream* out) { *out << zoom.dpi << " DPI"; }

class GridZoom : public ::testing::TestWithParam<ZoomCase> {};

TEST_P(GridZoom, TheScreenDpiScalesTheGridOnceAndIsLoggedOnce) {
  const ZoomCase& zoom = GetParam();
  WindowRig rig(/*plugged=*/true, zoom.dpi);
  CMorvelDlg& dialog = rig.Open();
  dialog.RefreshKeyLabels();

  EXPECT_EQ(dialog.KeyButton(1, 1)->geometry(), zoom.top_left);
  const auto lines = rig.LogLines();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), zoom.log_line), 1);
}

INSTANTIATE_TEST_SUITE_P(
    ThreeScreens, GridZoom,
    ::testing::Values(ZoomCase{96, {160, 20, 78, 40}, ">> Screen DPI = 96, ZOOM= 1.000000"},
                      ZoomCase{120, {180, 25, 97, 50}, ">> Screen DPI = 120, ZOOM= 1.250000"},
                      ZoomCase{144, {200, 30, 117, 60}, ">> Screen DPI = 144, ZOOM= 1.500000"}));

// Sets the application font to the size a screen of `dpi` gives it, while it lives.
class ScreenFont {
 public:
  explicit ScreenFont(int dpi) : original_(QApplication::font()) {
    QFont scaled = original_;
    scaled.setPointSizeF(original_.pointSizeF() * dpi / 96.0);
    QApplication::setFont(scaled);
  }
  ~ScreenFont() { QApplication::setFont(original_); }

 private:
  QFont original_;
};

TEST(KeyGrid, TheWindowHoldsTheWholeGridBesideTheSettingsAtEveryZoom) {
  for (int dpi : {96, 120, 144, 192}) {
    const ScreenFont font(dpi);
    WindowRig rig(/*plugged=*/false, dpi);
    CMorvelDlg& dialog = rig.Open();
    const QRect first = dialog.KeyButton(1, 1)->geometry();
    const QRect last = dialog.KeyButton(6, 8)->geometry();
    EXPECT_GE(dialog.width(), last.right()) << dpi;

    // The settings beside the grid grow with the font, the grid's left edge less: they keep
    // clear of the keys.
    std::vector<QWidget*> column;
    for (int id :
         {kIdDefaultLabel, kIdBoardTypeLabel, kIdBoardTypeList, kIdPathTypeLabel, kIdPathTypeList,
          kIdUsbTypeLabel, kIdUsbTypeList, kIdTyping, kIdBacklight, kIdSticky}) {
      column.push_back(DialogItem(dialog, id));
    }
    for (QGroupBox* group : dialog.findChildren<QGroupBox*>()) {
      if (group->title() == "Special Features") column.push_back(group);
    }
    ASSERT_EQ(column.size(), 11u);
    for (const QWidget* control : column) {
      EXPECT_LT(control->geometry().right(), first.left())
          << dpi << " " << control->objectName().toStdString();
      EXPECT_GT(control->width(), 0) << dpi;
    }
  }
}

TEST(KeyGrid, FeatureBoxesShowAnyNonZeroByteAndKeepItUntilTheUserChangesIt) {
  WindowRig rig;
  SetBoardSetting(rig, kSettingBoardType, 0x43);
  SetBoardSetting(rig, kSettingBacklight, 1);
  CMorvelDlg& dialog = rig.Open();

  auto* backlight = DialogItem<QCheckBox>(dialog, kIdBacklight);
  EXPECT_TRUE(backlight->isChecked());
  EXPECT_FALSE(DialogItem<QCheckBox>(dialog, kIdTyping)->isChecked());
  const std::size_t byte = kWorkingSettingsOffset + kSettingBacklight;
  EXPECT_EQ(rig.config.working_profile[byte], 1);

  backlight->click();
  EXPECT_EQ(rig.config.working_profile[byte], 0);
  backlight->click();
  EXPECT_EQ(rig.config.working_profile[byte], 2);
}

}  // namespace
}  // namespace qp40::test
