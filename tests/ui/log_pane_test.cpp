// The log pane: lines appended as they come, typed text replaced by the whole log.
#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>
#include <QtTest/QTest>

#include "log/log.h"
#include "ui/common/log_pane.h"
#include "ui_fixture.h"

namespace qp40::test {
namespace {

class LogPaneTest : public ::testing::Test {
 protected:
  LogPaneTest() : log_(clock_, notifier_) {
    log_.SetSink(&pane_);
    pane_.resize(400, 120);
    pane_.show();
  }

  ScriptedPrompts prompts_;
  PromptNotifier notifier_{prompts_};
  FixedClock clock_{kTestTime};
  Log log_;
  LogPane pane_;
};

TEST_F(LogPaneTest, EachLineShowsWithItsTimeAndLineBreaksOfItsOwn) {
  log_.AppendLog(">> No Device");
  log_.AppendLog("");
  log_.AppendLog(">> Device READ Openned \n");
  log_.AppendLog("two\r\nlines");
  log_.AppendLog("caf\xe9");
  // A file path in the file system's UTF-8.
  log_.AppendLog(">> Open File, /home/j\xc3\xb6rg/keypad.bin");
  EXPECT_EQ(pane_.Text(),
            QString::fromUtf8(">> No Device      (09:03:07)\n"
                              "      (09:03:07)\n"
                              ">> Device READ Openned \n      (09:03:07)\n"
                              "two\nlines      (09:03:07)\n"
                              "café      (09:03:07)\n"
                              ">> Open File, /home/jörg/keypad.bin      (09:03:07)\n"));
  EXPECT_EQ(pane_.View()->LineCount(), 9);
  EXPECT_FALSE(pane_.Editing());
  EXPECT_TRUE(prompts_.messages.empty());
}

TEST_F(LogPaneTest, TheNewestLineStaysInView) {
  for (int i = 0; i < 50; ++i) log_.AppendLog("line");
  const QScrollBar* bar = pane_.View()->verticalScrollBar();
  EXPECT_GT(bar->maximum(), 0);
  EXPECT_EQ(bar->value(), bar->maximum());
}

TEST_F(LogPaneTest, TypedTextDisappearsWithTheNextLine) {
  log_.AppendLog("first");
  pane_.View()->setFocus();
  QTest::keyClicks(pane_.View(), "typed");
  ASSERT_TRUE(pane_.Editing());
  ASSERT_TRUE(pane_.UserEdited());
  EXPECT_EQ(pane_.Text(), "first      (09:03:07)\ntyped");
  // Further keys go on into the editor.
  QTest::keyClicks(pane_.Editor(), " by the user");
  EXPECT_TRUE(pane_.Text().endsWith("typed by the user"));

  log_.AppendLog("second");
  EXPECT_EQ(pane_.Text(), "first      (09:03:07)\nsecond      (09:03:07)\n");
  EXPECT_FALSE(pane_.Editing());
  EXPECT_FALSE(pane_.UserEdited());
}

TEST_F(LogPaneTest, ClickingInOnlyToLookKeepsTheSelectionWhileLinesArrive) {
  log_.AppendLog("first");
  QTest::mouseClick(pane_.View()->viewport(), Qt::LeftButton, {}, QPoint(10, 8));
  ASSERT_TRUE(pane_.Editing());
  QTextCursor selection(pane_.Editor()->document());
  selection.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
  pane_.Editor()->setTextCursor(selection);
  const QString selected = pane_.Editor()->textCursor().selectedText();
  ASSERT_EQ(selected, "first      (09:03:07)");

  log_.AppendLog("second");
  EXPECT_EQ(pane_.Editor()->textCursor().selectedText(), selected);
  EXPECT_EQ(pane_.Text(), "first      (09:03:07)\nsecond      (09:03:07)\n");
  EXPECT_FALSE(pane_.UserEdited());
}

}  // namespace
}  // namespace qp40::test
