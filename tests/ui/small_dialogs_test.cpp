// The profile selection, factory-restore confirmation and About dialogs, played without a loop.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest/QTest>
#include <ostream>

#include "ui/common/dialog_template.h"
#include "ui/main/small_dialogs.h"

namespace qp40 {
namespace {

enum class Answer { kOk, kCancel, kEscape };

struct ProfileCase {
  int selected_index;
  int pick;  // list entry the user picks, or -2 to leave the list as it opened
  Answer answer;
  int shown;
  int chosen;
  int result;
};

void PrintTo(const ProfileCase& c, std::ostream* out) {
  *out << "selected " << c.selected_index << ", pick " << c.pick << ", answer "
       << static_cast<int>(c.answer);
}

class ProfileSelection : public ::testing::TestWithParam<ProfileCase> {};

TEST_P(ProfileSelection, StartsOnTheSelectedIndexAndReturnsTheChoice) {
  const ProfileCase& c = GetParam();
  CQlCfgModeSelect dialog(c.selected_index);
  auto* list = DialogItem<QComboBox>(dialog, CQlCfgModeSelect::kListId);
  EXPECT_EQ(list->currentIndex(), c.shown);
  if (c.pick != -2) list->setCurrentIndex(c.pick);
  switch (c.answer) {
    case Answer::kOk:
      DialogItem<QPushButton>(dialog, CQlCfgModeSelect::kOkId)->click();
      break;
    case Answer::kCancel:
      DialogItem<QPushButton>(dialog, CQlCfgModeSelect::kCancelId)->click();
      break;
    case Answer::kEscape:
      QTest::keyClick(&dialog, Qt::Key_Escape);
      break;
  }
  EXPECT_EQ(dialog.ChosenIndex(), c.chosen);
  EXPECT_EQ(dialog.result(), c.result);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileSelection,
    ::testing::Values(ProfileCase{2, -2, Answer::kOk, 2, 2, QDialog::Accepted},
                      ProfileCase{0, 3, Answer::kOk, 0, 3, QDialog::Accepted},
                      // After a backup of another bank the list starts on no entry.
                      ProfileCase{4, -2, Answer::kOk, -1, -1, QDialog::Accepted},
                      ProfileCase{8, -2, Answer::kOk, -1, -1, QDialog::Accepted},
                      ProfileCase{1, 3, Answer::kCancel, 1, 1, QDialog::Rejected},
                      ProfileCase{4, 2, Answer::kEscape, -1, 4, QDialog::Rejected}));

TEST(ProfileSelection, ShowsTheProfilesAndItsNotes) {
  CQlCfgModeSelect dialog(0);
  EXPECT_EQ(dialog.windowTitle(), "Select Profile Onboard ");
  auto* list = DialogItem<QComboBox>(dialog, CQlCfgModeSelect::kListId);
  ASSERT_EQ(list->count(), 4);
  EXPECT_EQ(list->itemText(0), "0# User Profile 1");
  EXPECT_EQ(list->itemText(3), "3# User Profile 4");
  EXPECT_EQ(DialogItem<QLabel>(dialog, 1161)->text(), "Profile 0    : default working profile");
  EXPECT_EQ(DialogItem<QLabel>(dialog, 1162)->text(), "Profile1/2/3 : valid by switching");
  EXPECT_EQ(DialogItem<QPushButton>(dialog, CQlCfgModeSelect::kOkId)->text(), "OK");
  EXPECT_EQ(DialogItem<QPushButton>(dialog, CQlCfgModeSelect::kCancelId)->text(), "Cancel");
}

TEST(FactoryRestoreConfirmation, SureRestoresBeforeTheDialogClosesAnythingElseSendsNothing) {
  int restores = 0;
  bool visible_during_restore = false;
  const QWidget* shown = nullptr;
  MStoreDevice sure([&] {
    ++restores;
    visible_during_restore = shown != nullptr && shown->isVisible();
  });
  shown = &sure;
  sure.show();
  DialogItem<QPushButton>(sure, MStoreDevice::kSureId)->click();
  EXPECT_EQ(restores, 1);
  EXPECT_TRUE(visible_during_restore);
  EXPECT_EQ(sure.Confirmed(), 1);
  EXPECT_EQ(sure.result(), QDialog::Accepted);

  MStoreDevice cancel([&] { ++restores; });
  DialogItem<QPushButton>(cancel, MStoreDevice::kCancelId)->click();
  MStoreDevice escape([&] { ++restores; });
  QTest::keyClick(&escape, Qt::Key_Escape);
  MStoreDevice closed([&] { ++restores; });
  closed.show();
  closed.close();
  EXPECT_EQ(restores, 1);
  for (const MStoreDevice* dialog : {&cancel, &escape, &closed}) {
    EXPECT_EQ(dialog->Confirmed(), 0);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
  }
  EXPECT_EQ(sure.windowTitle(), "Dialog");
}

TEST(AboutBox, NamesTheToolAndClosesWithOkOrEscape) {
  CAboutDlg about;
  EXPECT_EQ(about.windowTitle(), "About Quillpad Configuration");
  // The tool's name and version is all the box says.
  QStringList texts;
  for (const QLabel* label : about.findChildren<QLabel*>()) texts << label->text();
  EXPECT_EQ(texts, QStringList{"QP40 Quillpad Configuration V7.2.1"});
  about.show();
  QTest::keyClick(&about, Qt::Key_Return);
  EXPECT_EQ(about.result(), QDialog::Accepted);
  EXPECT_FALSE(about.isVisible());

  CAboutDlg escaped;
  escaped.show();
  QTest::keyClick(&escaped, Qt::Key_Escape);
  EXPECT_FALSE(escaped.isVisible());
}

}  // namespace
}  // namespace qp40
