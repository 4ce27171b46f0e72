#include "session/unsaved_changes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "layout/key_expression.h"
#include "session/session_fixture.h"

namespace qp40 {
namespace {

using Lines = std::vector<std::string>;

class UnsavedChangesTest : public testing::SessionFixture {
 protected:
  void Put(std::size_t position, std::string_view expression) {
    const ParsedKeyExpression parsed = ParseKeyExpression(expression);
    ASSERT_TRUE(parsed.edit) << parsed.error;
    ASSERT_EQ(session.ApplyKeyEdit(position, *parsed.edit).status, SessionStatus::kDone);
  }
  // The expression of the key the keypad holds at `position` of profile 1.
  std::string KeypadKey(std::size_t position) {
    const KeyActionRecord record = ViewProfile(config, 0).records[position];
    return FormatKeyExpression(record, session.KeyText(record));
  }
  // The grid positions marked as unsaved.
  std::vector<std::size_t> Marked() const {
    std::vector<std::size_t> marked;
    const UnsavedKeys keys = UnsavedKeysOf(session);
    for (std::size_t position = 0; position < keys.size(); ++position) {
      if (keys[position]) marked.push_back(position);
    }
    return marked;
  }
};

TEST_F(UnsavedChangesTest, NothingIsMarkedBeforeTheKeypadWasRead) {
  Put(0, "Enter");
  EXPECT_TRUE(Marked().empty());
  EXPECT_TRUE(UnsavedChangeLines(session).empty());
}

TEST_F(UnsavedChangesTest, AnEditedKeyIsMarkedWithWhatTheKeypadHoldsUntilItIsSaved) {
  ASSERT_EQ(session.Load().status, SessionStatus::kDone);
  const std::string held = KeypadKey(9);
  ASSERT_NE(held, "Ctrl+Shift+q");
  Put(9, "Ctrl+Shift+q");

  EXPECT_EQ(Marked(), std::vector<std::size_t>{9});
  EXPECT_EQ(UnsavedKeysOf(session)[9], held);
  EXPECT_EQ(UnsavedChangeLines(session),
            Lines{"profile 1, row 2, column 2: " + held + " -> Ctrl+Shift+q"});

  // Typed back as it was, the key is no change.
  Put(9, held);
  EXPECT_TRUE(Marked().empty());
  EXPECT_TRUE(UnsavedChangeLines(session).empty());

  Put(9, "Ctrl+Shift+q");
  ASSERT_EQ(session.Save().status, SessionStatus::kDone);
  EXPECT_TRUE(Marked().empty());
  EXPECT_TRUE(UnsavedChangeLines(session).empty());
}

TEST_F(UnsavedChangesTest, AStringKeyWhoseTextChangedIsMarkedEvenWithTheSameRecord) {
  ASSERT_EQ(session.Load().status, SessionStatus::kDone);
  Put(3, "string:\"Hello\"");
  ASSERT_EQ(session.Save().status, SessionStatus::kDone);
  const KeyActionRecord saved = WorkingRecord(config.working_profile, 3);

  // The keypad's text is rewritten in place: the record stays, the text differs.
  Put(3, "string:\"Howdy\"");
  ASSERT_EQ(WorkingRecord(config.working_profile, 3), saved);
  EXPECT_EQ(Marked(), std::vector<std::size_t>{3});
  EXPECT_EQ(UnsavedKeysOf(session)[3], "string:\"Hello\"");
  EXPECT_EQ(UnsavedChangeLines(session),
            Lines{"profile 1, row 1, column 4: string:\"Hello\" -> string:\"Howdy\""});
}

TEST_F(UnsavedChangesTest, ChangesToAnotherProfileAreListedButNotMarkedOnTheShownOne) {
  ASSERT_EQ(session.Load().status, SessionStatus::kDone);
  const std::string held = KeypadKey(0);
  Put(0, "F5");
  ASSERT_TRUE(session.CopyShownProfile(2));
  Put(0, held);

  EXPECT_TRUE(Marked().empty());
  EXPECT_EQ(UnsavedChangeLines(session), Lines{"profile 3, row 1, column 1: " + held + " -> F5"});
}

TEST_F(UnsavedChangesTest, EachMacroTheNextSaveWritesHasALineAfterTheKeys) {
  ASSERT_EQ(session.Load().status, SessionStatus::kDone);
  const std::string held = KeypadKey(0);
  Put(0, "F5");
  session.SetPendingMacros({{5, MacroBuffer{}}, {12, MacroBuffer{}}});
  EXPECT_EQ(UnsavedChangeLines(session),
            (Lines{"profile 1, row 1, column 1: " + held + " -> F5",
                   "macro 5: written by the next save", "macro 12: written by the next save"}));
}

}  // namespace
}  // namespace qp40
