#include "session/sheet_extras.h"

#include <gtest/gtest.h>

#include "keys/key_action.h"
#include "session/session_fixture.h"

namespace qp40 {
namespace {

constexpr std::string_view kScript = "press a  20\r\nrelease a  20\r\n";

// Profile 1 on screen with keys that run macros 3 and 5 (only 5 stored) and macro 40, which
// the keypad has not.
class SheetExtrasTest : public testing::SessionFixture {
 protected:
  SheetExtrasTest() {
    EXPECT_EQ(session.Load().status, SessionStatus::kDone);
    EXPECT_EQ(session.SaveMacroScript(5, kScript).status, MacroSaveStatus::kStored);
    SetWorkingRecord(config.working_profile, 0, {kActionMacro, 5, 0, 0});
    SetWorkingRecord(config.working_profile, 1, {kActionMacro, 3, 0, 0});
    SetWorkingRecord(config.working_profile, 2, {kActionMacro, 40, 0, 0});
  }
  const CheatSheetOptions options{std::uint8_t{0}, Appendix::kShown};
};

TEST_F(SheetExtrasTest, StoredMacrosAreListedAndOthersMarkedNotStored) {
  const SheetExtrasRead read = ReadSheetExtras(session, options);
  ASSERT_EQ(read.extras.macro_scripts.size(), 2u);
  ASSERT_TRUE(read.extras.macro_scripts.at(5));
  EXPECT_NE(read.extras.macro_scripts.at(5)->find("press"), std::string::npos);
  EXPECT_FALSE(read.extras.macro_scripts.at(3));
  EXPECT_TRUE(read.unread_macros.empty());
  EXPECT_FALSE(read.extras.chords);
}

TEST_F(SheetExtrasTest, AMacroWhosePagesFailIsNamedAsUnread) {
  FailPage(0);
  const SheetExtrasRead read = ReadSheetExtras(session, options);
  EXPECT_EQ(read.unread_macros, std::vector<int>{3});
  EXPECT_EQ(read.extras.macro_scripts.count(3), 0u);
  EXPECT_TRUE(read.extras.macro_scripts.at(5));
}

TEST_F(SheetExtrasTest, WithoutAKeypadNothingIsRead) {
  session.Detach();
  const std::size_t requests = keypad.Requests().size();
  const SheetExtrasRead read = ReadSheetExtras(session, options);
  EXPECT_TRUE(read.extras.macro_scripts.empty());
  EXPECT_EQ(keypad.Requests().size(), requests);
}

}  // namespace
}  // namespace qp40
