// A click on a key button: the highlight, the key dialog driven through its real widgets, and
// what OK stores in the working copy; the screen keyboard beside the dialog; the grid's tooltips
// and keyboard access.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

#include "editing/key_attribute_ids.h"
#include "ui/common/clr_button.h"
#include "ui/common/dialog_template.h"
#include "ui/key_editor/key_attribute_dialog.h"
#include "ui/key_editor/soft_keyboard.h"
#include "ui_fixture.h"

namespace qp40::test {
namespace {

using Record = std::array<std::uint8_t, 4>;

class KeyClickTest : public ::testing::Test {
 protected:
  // Opens the window on a keypad whose top-left key of profile 1 holds `top_left`.
  CMorvelDlg& OpenWith(const Record& top_left = {0x80, 0x04, 0x00, 0x00}) {
    PutRecord(rig.KeypadProfileBlock(), 0, 0, top_left);
    return rig.Open();
  }
  // Clicks key (row, column) with the mouse; `play` drives the key dialog meanwhile.
  void ClickKey(int row, int column, std::function<void(CKeyAttribute&)> play) {
    rig.prompts.play = [play](QDialog& dialog) {
      // Shown as the modal loop would show it, so focus and visibility behave as for a user.
      dialog.show();
      dialog.activateWindow();
      QApplication::processEvents();
      play(dynamic_cast<CKeyAttribute&>(dialog));
    };
    QTest::mouseClick(rig.dialog->KeyButton(row, column), Qt::LeftButton);
  }
  Record WorkingRecordAt(int row, int column) const {
    return WorkingRecord(rig.config.working_profile, (row - 1) * 8 + (column - 1));
  }

  WindowRig rig;
};

QLineEdit* Field(CKeyAttribute& dialog, int id) { return DialogItem<QLineEdit>(dialog, id); }

// Types `text` over the field's contents, as a user selecting it all and typing does.
void TypeOver(CKeyAttribute& dialog, int id, const QString& text) {
  QLineEdit* field = Field(dialog, id);
  field->setFocus();
  field->selectAll();
  QTest::keyClicks(field, text);
}

TEST_F(KeyClickTest, TypingANameAndReturnStoresTheKeyLogsItAndRelabels) {
  CMorvelDlg& window = OpenWith();
  QString heading;
  ClickKey(1, 1, [&heading](CKeyAttribute& dialog) {
    heading = DialogItem<QLabel>(dialog, kIdKeyHeading)->text();
    // Row 1's name and code both centre their text.
    EXPECT_TRUE(Field(dialog, kIdKeyName1)->alignment() & Qt::AlignHCenter);
    EXPECT_TRUE(Field(dialog, kIdKeyCode1)->alignment() & Qt::AlignHCenter);
    TypeOver(dialog, kIdKeyName1, "Enter");
    EXPECT_EQ(Field(dialog, kIdKeyCode1)->text(), "40");
    QTest::keyClick(Field(dialog, kIdKeyName1), Qt::Key_Return);
  });

  EXPECT_EQ(heading, "Key11 (row 1,col 1) ");
  EXPECT_EQ(WorkingRecordAt(1, 1), (Record{0x80, 0x28, 0x00, 0x00}));
  EXPECT_EQ(rig.LogLines().back(), ">> KEY-11: 80  28   0   0");
  EXPECT_EQ(window.KeyButton(1, 1)->text(), "Enter");
  EXPECT_EQ(window.KeyLabelEntry(1, 1), "0 Keyboard Function");
  EXPECT_EQ(window.HighlightFlag(1, 1), 0);
  EXPECT_TRUE(window.KeyButton(1, 1)->toolTip().contains("Record: 80 28 00 00"));
}

TEST_F(KeyClickTest, ModifierKeyAndOlderActionCodesAreStoredAsTheDialogEncodesThem) {
  OpenWith({0x89, 0x05, 0x00, 0x00});
  ClickKey(1, 1, [](CKeyAttribute& dialog) {
    EXPECT_EQ(Field(dialog, kIdKeyName1)->text(), "b");
    DialogItem<QPushButton>(dialog, kIdKeyOk)->click();
  });
  EXPECT_EQ(WorkingRecordAt(1, 1), (Record{0x80, 0x05, 0x00, 0x00}));

  ClickKey(1, 1, [](CKeyAttribute& dialog) {
    TypeOver(dialog, kIdKeyCode1, "225");
    DialogItem<QPushButton>(dialog, kIdKeyOk)->click();
  });
  EXPECT_EQ(WorkingRecordAt(1, 1), (Record{0x81, 0x02, 0xE1, 0x00}));
  EXPECT_EQ(rig.LogLines().back(), ">> KEY-11: 81   2  e1   0");
}

TEST_F(KeyClickTest, CancelKeepsTheRecordAndTheHighlight) {
  CMorvelDlg& window = OpenWith();
  const std::size_t lines = rig.LogLines().size();
  ClickKey(1, 1, [](CKeyAttribute& dialog) {
    TypeOver(dialog, kIdKeyName1, "Enter");
    QTest::keyClick(&dialog, Qt::Key_Escape);
  });
  EXPECT_EQ(WorkingRecordAt(1, 1), (Record{0x80, 0x04, 0x00, 0x00}));
  EXPECT_EQ(rig.LogLines().size(), lines);
  EXPECT_EQ(window.HighlightFlag(1, 1), 1);
  EXPECT_EQ(window.KeyButton(1, 1)->BackgroundColor(), 0x00A0A0A0u);

  // A second click on the highlighted key paints it black while its dialog is open.
  std::uint32_t background = 0;
  ClickKey(1, 1, [&](CKeyAttribute& dialog) {
    background = window.KeyButton(1, 1)->BackgroundColor();
    dialog.reject();
  });
  EXPECT_EQ(background, 0x00000000u);

  // Clicking another key takes back the highlight of a key that got no label.
  ClickKey(1, 2, [](CKeyAttribute& dialog) { dialog.reject(); });
  EXPECT_EQ(window.HighlightFlag(1, 1), 0);
  EXPECT_EQ(window.HighlightFlag(1, 2), 1);
}

TEST_F(KeyClickTest, DoubleClickOpensTheDialogOnce) {
  OpenWith();
  int dialogs = 0;
  rig.prompts.play = [&dialogs](QDialog& dialog) {
    ++dialogs;
    dialog.reject();
  };
  // What the platform delivers: a press and release, then a double click and its release.
  CClrButton* key = rig.dialog->KeyButton(1, 1);
  const QPoint centre = key->rect().center();
  QTest::mousePress(key, Qt::LeftButton, {}, centre);
  QTest::mouseRelease(key, Qt::LeftButton, {}, centre);
  QMouseEvent double_click(QEvent::MouseButtonDblClick, centre, key->mapToGlobal(centre),
                           Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(key, &double_click);
  QTest::mouseRelease(key, Qt::LeftButton, {}, centre);
  EXPECT_EQ(dialogs, 1);
}

TEST_F(KeyClickTest, UnknownRecordOpensWithoutATypeAndOkLeavesIt) {
  OpenWith({0xFF, 0xFF, 0xFF, 0xFF});
  const std::size_t lines = rig.LogLines().size();
  ClickKey(1, 1, [](CKeyAttribute& dialog) {
    EXPECT_EQ(DialogItem<QComboBox>(dialog, kIdKeyTypeList)->currentIndex(), -1);
    EXPECT_TRUE(DialogItem<QLabel>(dialog, kIdKeyHelp)->text().contains("Choose a key type"));
    DialogItem<QPushButton>(dialog, kIdKeyOk)->click();
  });
  EXPECT_EQ(WorkingRecordAt(1, 1), (Record{0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(rig.LogLines().size(), lines);
}

TEST_F(KeyClickTest, ScreenKeyboardWritesIntoTheDialogAndIsOneWindow) {
  CMorvelDlg& window = OpenWith();
  ClickKey(1, 1, [&window](CKeyAttribute& dialog) {
    auto* open = DialogItem<QPushButton>(dialog, kIdKeyScreenKeyboard);
    open->click();
    SoftKeyBoardWindow* keyboard = window.KeyDialogKeyboard().Window();
    ASSERT_NE(keyboard, nullptr);
    EXPECT_TRUE(keyboard->isVisible());
    open->click();
    EXPECT_EQ(window.KeyDialogKeyboard().Window(), keyboard);
    EXPECT_EQ(dialog.findChildren<SoftKeyBoardWindow*>().size(), 1);

    DialogItem<QPushButton>(*keyboard, 3152)->click();  // "Q"
    EXPECT_EQ(Field(dialog, kIdKeyName1)->text(), "q");
    EXPECT_EQ(Field(dialog, kIdKeyCode1)->text(), "20");

    // Focusing the type list hides the keyboard; the button shows it again.
    DialogItem<QComboBox>(dialog, kIdKeyTypeList)->setFocus();
    QApplication::processEvents();
    EXPECT_FALSE(keyboard->isVisible());
    open->click();
    EXPECT_TRUE(keyboard->isVisible());

    // The search box marks the buttons whose name holds the text.
    auto* search = DialogItem<QLineEdit>(*keyboard, SoftKeyBoardWindow::kSearchId);
    QTest::keyClicks(search, "vol");
    EXPECT_EQ(keyboard->HighlightedButtons(), (std::vector<int>{3241, 3242}));
    DialogItem<QPushButton>(dialog, kIdKeyOk)->click();
  });
  EXPECT_EQ(WorkingRecordAt(1, 1), (Record{0x80, 0x14, 0x00, 0x00}));
}

TEST_F(KeyClickTest, FullBurstTableKeepsTheDialogOpenWithItsText) {
  OpenWith();
  rig.config.burst_table.fill('x');
  ClickKey(1, 1, [](CKeyAttribute& dialog) {
    auto* types = DialogItem<QComboBox>(dialog, kIdKeyTypeList);
    types->setCurrentIndex(kTypeBurst);
    emit types->activated(kTypeBurst);
    TypeOver(dialog, kIdKeyName1, "DIMLINEAR");
    EXPECT_EQ(DialogItem<QLabel>(dialog, CKeyAttribute::kIdLimit)->text(), "9/15");
    DialogItem<QPushButton>(dialog, kIdKeyOk)->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(Field(dialog, kIdKeyName1)->text(), "DIMLINEAR");
    dialog.reject();
  });
  EXPECT_EQ(WorkingRecordAt(1, 1), (Record{0x80, 0x04, 0x00, 0x00}));
  EXPECT_EQ(rig.prompts.messages.size(), 1u);
}

TEST_F(KeyClickTest, CaptureTakesTheNextKeyPressAndEscapeStopsIt) {
  OpenWith();
  ClickKey(1, 1, [](CKeyAttribute& dialog) {
    auto* capture = DialogItem<QPushButton>(dialog, CKeyAttribute::kIdCapture);
    EXPECT_TRUE(capture->isVisible());
    capture->click();
    QTest::keyClick(Field(dialog, kIdKeyName1), Qt::Key_F5);
    EXPECT_EQ(Field(dialog, kIdKeyName1)->text(), "F5");
    EXPECT_FALSE(dialog.Capturing());

    capture->click();
    QTest::keyClick(Field(dialog, kIdKeyName1), Qt::Key_Escape);
    EXPECT_FALSE(dialog.Capturing());
    EXPECT_TRUE(dialog.isVisible());  // Escape ended the capture, not the dialog
    EXPECT_EQ(Field(dialog, kIdKeyName1)->text(), "F5");
    DialogItem<QPushButton>(dialog, kIdKeyOk)->click();
  });
  EXPECT_EQ(WorkingRecordAt(1, 1), (Record{0x80, 0x3E, 0x00, 0x00}));
}

TEST_F(KeyClickTest, ArrowKeysWalkTheGridAndEnterOpensTheFocusedKey) {
  CMorvelDlg& window = OpenWith();
  window.activateWindow();
  QApplication::processEvents();
  window.KeyButton(1, 1)->setFocus();
  QTest::keyClick(window.KeyButton(1, 1), Qt::Key_Right);
  EXPECT_TRUE(window.KeyButton(1, 2)->hasFocus());
  QTest::keyClick(window.KeyButton(1, 2), Qt::Key_Down);
  EXPECT_TRUE(window.KeyButton(2, 2)->hasFocus());

  QString heading;
  rig.prompts.play = [&heading](QDialog& dialog) {
    heading = DialogItem<QLabel>(dialog, kIdKeyHeading)->text();
    dialog.reject();
  };
  QTest::keyClick(window.KeyButton(2, 2), Qt::Key_Return);
  EXPECT_EQ(heading, "Key22 (row 2,col 2) ");
}

}  // namespace
}  // namespace qp40::test
