// The keypad chooser: hidden with one keypad, above the grid with two; switching keypads asks
// about unsaved edits first; a keypad that goes away leaves the list at once.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <cstddef>
#include <vector>

#include "session/keypad_list.h"
#include "ui/common/clr_button.h"
#include "ui/common/device_notice_watch.h"
#include "ui/common/dialog_template.h"
#include "ui/main/main_dialog_ids.h"
#include "ui_fixture.h"

namespace qp40::test {
namespace {

using Record = std::array<std::uint8_t, 4>;
constexpr Record kKeyA = {0x80, 0x04, 0x00, 0x00};
constexpr Record kKeyEnter = {0x80, 0x28, 0x00, 0x00};
constexpr const char* kTitle = "QP40 Keyboard Configuration";

// Keypad 1's key 11 types "a", keypad 2's types Enter.
class KeypadChooserTest : public ::testing::Test {
 protected:
  KeypadChooserTest() {
    PutRecord(rig.keypad.BlockData(kProfileBlock), 0, 0, kKeyA);
    PutRecord(rig.second_keypad.BlockData(kProfileBlock), 0, 0, kKeyEnter);
  }

  CMorvelDlg& OpenTwo() {
    rig.AddSecondKeypad();
    return rig.Open();
  }
  Record KeyOnScreen() const { return WorkingRecord(rig.config.working_profile, 0); }
  static QString Identity(std::size_t number) {
    return QString::fromStdString(IdentityHex(sim::SimIdentity("", number)));
  }
  void Choose(int index) {
    QComboBox* chooser = rig.dialog->KeypadChooser();
    chooser->setCurrentIndex(index);
    emit chooser->activated(index);
  }
  void ClickSticky() { DialogItem<QCheckBox>(*rig.dialog, kIdSticky)->click(); }
  static std::vector<std::uint8_t> Settings(sim::VirtualKeypad& keypad) {
    const auto block = keypad.BlockData(kProfileBlock);
    const auto settings = block.begin() + static_cast<std::ptrdiff_t>(kSettingsOffset);
    return {settings, settings + static_cast<std::ptrdiff_t>(kSettingsSize)};
  }

  WindowRig rig;
};

TEST_F(KeypadChooserTest, WithOneKeypadTheWindowLooksAsEver) {
  CMorvelDlg& window = rig.Open();
  EXPECT_TRUE(window.KeypadChooser() == nullptr || window.KeypadChooser()->isHidden());
  EXPECT_EQ(window.windowTitle(), kTitle);
  EXPECT_EQ(KeyOnScreen(), kKeyA);
}

TEST_F(KeypadChooserTest, TwoKeypadsAreListedAboveTheGridAndTheChooserSwitchesBetweenThem) {
  CMorvelDlg& window = OpenTwo();
  QComboBox* chooser = window.KeypadChooser();
  ASSERT_NE(chooser, nullptr);
  EXPECT_TRUE(chooser->isVisible());
  ASSERT_EQ(chooser->count(), 2);
  EXPECT_EQ(chooser->itemText(0), "1  " + Identity(1));
  EXPECT_EQ(chooser->itemText(1), "2  " + Identity(2));
  EXPECT_EQ(chooser->currentIndex(), 0);
  EXPECT_LE(chooser->geometry().bottom(), window.KeyButton(1, 1)->geometry().top());
  EXPECT_EQ(window.windowTitle(), QString(kTitle) + " - " + Identity(1));
  EXPECT_EQ(KeyOnScreen(), kKeyA);

  Choose(1);
  EXPECT_TRUE(rig.prompts.choices.empty());  // nothing unsaved, nothing to ask
  EXPECT_EQ(rig.session.OpenPath(), sim::SimPath(2));
  EXPECT_EQ(KeyOnScreen(), kKeyEnter);
  EXPECT_EQ(chooser->currentIndex(), 1);
  EXPECT_EQ(window.windowTitle(), QString(kTitle) + " - " + Identity(2));

  Choose(0);
  EXPECT_EQ(KeyOnScreen(), kKeyA);
}

TEST_F(KeypadChooserTest, SwitchingWithUnsavedEditsAsksFirst) {
  CMorvelDlg& window = OpenTwo();
  ClickSticky();
  ASSERT_TRUE(window.windowTitle().endsWith(" *"));

  // Cancel: the window stays on keypad 1 with the edit.
  rig.prompts.choice_answers = {"Cancel"};
  Choose(1);
  ASSERT_EQ(rig.prompts.choices.size(), 1u);
  EXPECT_TRUE(rig.prompts.choices[0].endsWith("[Save|Discard|Cancel]"));
  EXPECT_EQ(rig.session.OpenPath(), sim::SimPath(1));
  EXPECT_EQ(window.KeypadChooser()->currentIndex(), 0);
  EXPECT_TRUE(window.windowTitle().endsWith(" *"));

  // Discard: keypad 2 is shown and keypad 1 never saw the edit.
  const std::vector<std::uint8_t> first_before = Settings(rig.keypad);
  const std::vector<std::uint8_t> second_before = Settings(rig.second_keypad);
  rig.prompts.choice_answers = {"Discard"};
  Choose(1);
  EXPECT_EQ(rig.session.OpenPath(), sim::SimPath(2));
  EXPECT_EQ(KeyOnScreen(), kKeyEnter);
  EXPECT_EQ(Settings(rig.keypad), first_before);
  EXPECT_FALSE(window.windowTitle().endsWith(" *"));

  // Save: keypad 2 keeps the edit before keypad 1 is shown.
  ClickSticky();
  rig.prompts.choice_answers = {"Save"};
  Choose(0);
  EXPECT_NE(Settings(rig.second_keypad), second_before);
  EXPECT_EQ(Settings(rig.keypad), first_before);
  EXPECT_EQ(rig.session.OpenPath(), sim::SimPath(1));
  EXPECT_EQ(KeyOnScreen(), kKeyA);
}

TEST_F(KeypadChooserTest, AKeypadThatGoesAwayLeavesTheListAtOnce) {
  CMorvelDlg& window = OpenTwo();

  // The other keypad goes: one is left, and the window looks as with one keypad.
  rig.second_keypad.SetGone(true);
  window.OnDeviceRemoved(sim::SimPath(2));
  EXPECT_TRUE(window.KeypadChooser()->isHidden());
  EXPECT_EQ(window.windowTitle(), kTitle);
  EXPECT_TRUE(rig.session.Connected());

  // It comes back and is offered again.
  rig.second_keypad.SetGone(false);
  window.OnDeviceChange(kDeviceNodesChanged);
  EXPECT_TRUE(window.KeypadChooser()->isVisible());
  EXPECT_EQ(window.KeypadChooser()->count(), 2);

  // The keypad shown goes: the grid stays, no other keypad is taken in its place, and the
  // chooser offers the one left.
  Choose(1);
  rig.second_keypad.SetGone(true);
  window.OnDeviceRemoved(sim::SimPath(2));
  window.OnDeviceChange(kDeviceNodesChanged);
  EXPECT_FALSE(rig.session.Connected());
  EXPECT_EQ(KeyOnScreen(), kKeyEnter);
  ASSERT_EQ(window.KeypadChooser()->count(), 1);
  EXPECT_EQ(window.KeypadChooser()->currentIndex(), -1);

  Choose(0);
  EXPECT_EQ(rig.session.OpenPath(), sim::SimPath(1));
  EXPECT_EQ(KeyOnScreen(), kKeyA);
  EXPECT_TRUE(window.KeypadChooser()->isHidden());
}

TEST_F(KeypadChooserTest, AKeypadKeepsTheNameTheUserGivesIt) {
  CMorvelDlg& window = OpenTwo();
  rig.prompts.text_answer = QStringLiteral("  Left hand ");
  for (QPushButton* button : window.findChildren<QPushButton*>()) {
    if (button->text() == "Name...") button->click();
  }

  EXPECT_EQ(rig.names.Name(Identity(1)), "Left hand");
  EXPECT_EQ(window.KeypadChooser()->itemText(0), "1  Left hand  (" + Identity(1) + ")");
  EXPECT_EQ(window.windowTitle(), QString(kTitle) + " - Left hand");

  // Cancelled: the name stays.
  rig.prompts.text_answer.reset();
  window.OnNameKeypad();
  EXPECT_EQ(rig.names.Name(Identity(1)), "Left hand");
}

}  // namespace
}  // namespace qp40::test
