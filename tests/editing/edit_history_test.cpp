#include "editing/edit_history.h"

#include <gtest/gtest.h>

#include <string>

namespace qp40 {
namespace {

// A state told apart by one byte of the working copy and the profile on screen.
EditState StateWith(std::uint8_t byte, std::uint8_t shown = 0) {
  EditState state;
  state.config.working_profile[0] = byte;
  state.shown_profile = shown;
  return state;
}

TEST(EditHistoryTest, UndoAndRedoWalkTheStepsWithTheirNames) {
  EditHistory history;
  EXPECT_FALSE(history.CanUndo());
  EXPECT_FALSE(history.Undo());

  EXPECT_TRUE(history.Record("Key 11: a", StateWith(0), StateWith(1)));
  EXPECT_TRUE(history.Record("Edit Profile 2", StateWith(1), StateWith(1, 1)));
  EXPECT_EQ(history.UndoName(), "Edit Profile 2");

  EXPECT_EQ(history.Undo(), StateWith(1));
  EXPECT_EQ(history.UndoName(), "Key 11: a");
  EXPECT_EQ(history.RedoName(), "Edit Profile 2");
  EXPECT_EQ(history.Undo(), StateWith(0));
  EXPECT_FALSE(history.Undo());

  EXPECT_EQ(history.Redo(), StateWith(1));
  EXPECT_EQ(history.Redo(), StateWith(1, 1));
  EXPECT_FALSE(history.Redo());
  EXPECT_EQ(history.RedoName(), "");
}

TEST(EditHistoryTest, ANewStepDropsWhatCouldBeRedoneAndANullStepIsNotKept) {
  EditHistory history;
  history.Record("one", StateWith(0), StateWith(1));
  history.Record("two", StateWith(1), StateWith(2));
  history.Undo();

  EXPECT_FALSE(history.Record("nothing", StateWith(1), StateWith(1)));
  EXPECT_TRUE(history.CanRedo());

  history.Record("three", StateWith(1), StateWith(3));
  EXPECT_FALSE(history.CanRedo());
  EXPECT_EQ(history.StepCount(), 2u);
  EXPECT_EQ(history.Undo(), StateWith(1));
  EXPECT_EQ(history.Undo(), StateWith(0));
}

TEST(EditHistoryTest, KeepsAtMostItsLimitDroppingTheOldestAndClearEmptiesIt) {
  EditHistory history;
  ASSERT_EQ(history.StepLimit(), 500u);
  for (int i = 0; i < 600; ++i) {
    history.Record("step " + std::to_string(i), StateWith(static_cast<std::uint8_t>(i)),
                   StateWith(static_cast<std::uint8_t>(i + 1)));
  }
  EXPECT_EQ(history.StepCount(), 500u);
  int undone = 0;
  while (history.CanUndo()) {
    history.Undo();
    ++undone;
  }
  EXPECT_EQ(undone, 500);
  EXPECT_EQ(history.RedoName(), "step 100");

  history.Clear();
  EXPECT_FALSE(history.CanUndo());
  EXPECT_FALSE(history.CanRedo());
}

}  // namespace
}  // namespace qp40
