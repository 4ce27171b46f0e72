#include "model/saved_blocks_check.h"

#include <gtest/gtest.h>

#include <vector>

#include "model/model_test_support.h"
#include "model/profile_ops.h"
#include "sim/sim_transport.h"
#include "sim/virtual_keypad.h"

namespace qp40 {
namespace {

class SavedBlocksCheckTest : public ::testing::Test {
 protected:
  SavedBlocksCheckTest() {
    EXPECT_TRUE(link.AttachKeypad());
    config = testing::SampleConfiguration(0xFF, 3);
  }

  std::vector<SavedBlockState> States(const std::vector<SavedBlockCheck>& checks) {
    std::vector<SavedBlockState> states;
    for (const SavedBlockCheck& check : checks) states.push_back(check.state);
    return states;
  }

  sim::VirtualKeypad keypad{0xFF};
  sim::SimTransport transport{keypad};
  testing::Surroundings env;
  KeypadLink link{transport, env.log, env.notifier};
  Configuration config;
};

using State = SavedBlockState;

TEST_F(SavedBlocksCheckTest, ASaveReadsBackAsWrittenBlockByBlock) {
  ASSERT_EQ(SaveConfiguration(config, link, env.log).failed_pages, 0);
  const std::vector<SavedBlockCheck> checks = CheckSavedBlocks(config, link);

  ASSERT_EQ(checks.size(), 5u);
  EXPECT_EQ(checks[0].block, kProfileBlock);
  EXPECT_EQ(checks[4].block, kStringBlockSecond);
  EXPECT_TRUE(AllSavedBlocksMatch(checks));
}

TEST_F(SavedBlocksCheckTest, AFlippedBitAndAnUnreadableBlockAreNamed) {
  // The flip hits the second burst block's first page: 65 requests for the profile block and
  // 65 for the first burst block come before it, then its prepare.
  keypad.AddFault({sim::FaultKind::kFlip, keypad.RequestCount() + 65 + 65 + 2});
  ASSERT_EQ(SaveConfiguration(config, link, env.log).failed_pages, 0);
  // Every try of the last block's last page read goes unanswered.
  for (std::uint64_t i = 1; i <= 3; ++i) {
    keypad.AddFault({sim::FaultKind::kDrop, keypad.RequestCount() + 5 * 64 - 1 + i});
  }

  const std::vector<SavedBlockCheck> checks = CheckSavedBlocks(config, link);

  EXPECT_EQ(States(checks), (std::vector<State>{State::kMatches, State::kMatches, State::kDiffers,
                                                State::kMatches, State::kUnreadable}));
  EXPECT_FALSE(AllSavedBlocksMatch(checks));
}

TEST_F(SavedBlocksCheckTest, AKeypadGoneDuringTheCheckLeavesTheRestUnreadable) {
  ASSERT_EQ(SaveConfiguration(config, link, env.log).failed_pages, 0);
  keypad.AddFault({sim::FaultKind::kGone, keypad.RequestCount() + 70});

  EXPECT_EQ(States(CheckSavedBlocks(config, link)),
            (std::vector<State>{State::kMatches, State::kUnreadable, State::kUnreadable,
                                State::kUnreadable, State::kUnreadable}));
}

}  // namespace
}  // namespace qp40
