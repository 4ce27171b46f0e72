#include "editing/key_tooltip.h"

#include <gtest/gtest.h>

#include "macros/burst_store.h"
#include "macros/macro_test_support.h"
#include "macros/string_store.h"

namespace qp40 {
namespace {

class KeyTooltipTest : public testing::KeypadFixture {};

TEST_F(KeyTooltipTest, ShowsWhatTheGridCutsAndTheRecord) {
  config.burst_table.fill(kFreeBurstEntry);
  WriteBurstText(config.burst_table, 3, "DIMLINEAR-XY");
  const std::uint8_t string =
      *StoreString(config, link, "Hello world, and more", env.log, env.notifier);

  EXPECT_EQ(KeyTooltipText(config, {kActionMedia, 14, 0, 0}), "Calculator\nRecord: a2 0e 00 00");
  EXPECT_EQ(KeyTooltipText(config, {kActionBurst, 0, 0, 3}), "DIMLINEAR-XY\nRecord: b3 00 00 03");
  ASSERT_EQ(string, 1);  // the first unit of an empty table
  EXPECT_EQ(KeyTooltipText(config, {kActionString, 0, 8, string}),
            "Hello world, and more\nRecord: b4 00 08 01");
}

}  // namespace
}  // namespace qp40
