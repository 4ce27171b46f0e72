// The log pane: lines appended as they come, typed text replaced by the whole log.
#include <gtest/gtest.h>

#include <QTextCursor>
#include <QtTest/QTest>

#include "log/log.h"
#include "ui/log_pane.h"
#include "ui_fixture.h"

namespace qp40::test {
namespace {

class LogPaneTest : public ::testing::Test {
 protected:
  LogPaneTest() : log_(clock_, prompts_notifier_) {
    log_.SetSink(&pane_);
    pane_.show();
  }

  ScriptedPrompts prompts_;
  PromptNotifier prompts_notifier_{prompts_};
  FixedClock clock_;
  Log log_;
  LogPane pane_;
};

TEST_F(LogPaneTest, EachLineShowsWithItsTimeAndLineBreaksOfItsOwn) {
  log_.AppendLog(">> No Device");
  log_.AppendLog("");
  log_.AppendLog(">> Device READ Openned \n");
  log_.AppendLog("two\r\nlines");
  EXPECT_EQ(pane_.toPlainText(),
            ">> No Device      (09:03:07)\n"
            "      (09:03:07)\n"
            ">> Device READ Openned \n      (09:03:07)\n"
            "two\nlines      (09:03:07)\n");
  EXPECT_TRUE(prompts_.messages.empty());
}

TEST_F(LogPaneTest, BytesAboveAsciiShowAsLatin1) {
  log_.AppendLog("caf\xe9");
  EXPECT_EQ(pane_.toPlainText(), QString::fromUtf8("café      (09:03:07)\n"));
}

TEST_F(LogPaneTest, TypedTextDisappearsWithTheNextLine) {
  log_.AppendLog("first");
  pane_.setFocus();
  pane_.moveCursor(QTextCursor::End);
  QTest::keyClicks(&pane_, "typed by the user");
  ASSERT_TRUE(pane_.UserEdited());
  ASSERT_TRUE(pane_.toPlainText().contains("typed by the user"));

  log_.AppendLog("second");
  EXPECT_EQ(pane_.toPlainText(), "first      (09:03:07)\nsecond      (09:03:07)\n");
  EXPECT_FALSE(pane_.UserEdited());
}

TEST_F(LogPaneTest, WithoutTypingANewLineIsAppendedAndLeavesTheUsersSelectionAlone) {
  log_.AppendLog("first");
  QTextCursor selection(pane_.document());
  selection.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
  pane_.setTextCursor(selection);
  const QString selected = pane_.textCursor().selectedText();
  ASSERT_FALSE(selected.isEmpty());

  log_.AppendLog("second");
  // Putting the whole text back would have dropped the selection.
  EXPECT_EQ(pane_.textCursor().selectedText(), selected);
  EXPECT_FALSE(pane_.UserEdited());
}

}  // namespace
}  // namespace qp40::test
