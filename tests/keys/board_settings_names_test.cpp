#include "keys/board_settings_names.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "keys/board_layout.h"

namespace qp40 {
namespace {

struct ChoiceRow {
  std::uint8_t value;
  std::string_view list_item;
  std::string_view log_line;
  std::string_view name;
};

struct ListRow {
  const char* setting;
  const BoardSettingList& list;
  std::vector<ChoiceRow> choices;  // in list order
  std::string_view none_log_line;
  std::vector<std::uint8_t> unknown_values;
};

const ListRow kListRows[] = {
    {"board type",
     BoardTypeList(),
     {{kBoard48Keys, "0# 48Key", ">> Board Type = 48 Keys", "48 keys"},
      {kBoard46Keys, "1# 46Key", ">> Board Type = 46 Keys", "46 keys"},
      {kBoard44Keys, "3# 44Key", ">> Board Type = 44 Keys", "44 keys"},
      {kBoard43Keys, "4# 43Key", ">> Board Type = 43 Keys", "43 keys"}},
     ">> Board Type = 48 Keys",
     {0x00, 0x01, 0x40, 0x45, 0xFF}},
    {"path type",
     PathTypeList(),
     {{0, "0# USB", ">> Path Type = USB ", "USB"},
      {1, "1# BlueTooth", ">> Path Type = BlueTooth", "BlueTooth"},
      {2, "2# Mirror", ">> Path Type = Mirror", "Mirror"}},
     ">> Defatul Path Type = USB",
     {3, 0x80, 0xFF}},
    {"USB type",
     UsbTypeList(),
     {{0, "0# Basic", ">> USB Type = Basic Keyboard", "Basic Keyboard"},
      {1, "1# Gaming", ">> USB Type = Gaming Keyboard", "Gaming Keyboard"}},
     ">> Default Basic Keyboard",
     {2, 0xFF}},
};

TEST(BoardSettingNamesTest, EveryEntryRoundTripsBetweenListIndexAndValue) {
  for (const ListRow& row : kListRows) {
    SCOPED_TRACE(row.setting);
    ASSERT_EQ(row.list.Choices().size(), row.choices.size());
    for (std::size_t i = 0; i < row.choices.size(); ++i) {
      const ChoiceRow& expected = row.choices[i];
      const BoardSettingChoice& choice = row.list.Choices()[i];
      const int index = static_cast<int>(i);
      EXPECT_EQ(choice.value, expected.value);
      EXPECT_EQ(choice.list_item, expected.list_item);
      EXPECT_EQ(choice.name, expected.name);
      EXPECT_EQ(row.list.ValueAt(index), expected.value);
      EXPECT_EQ(row.list.LogLineAt(index), expected.log_line);
      EXPECT_EQ(row.list.IndexOf(expected.value), index);
      EXPECT_EQ(row.list.Find(expected.value), &choice);
    }
  }
}

TEST(BoardSettingNamesTest, NoChoiceStoresTheFirstValueAndUnknownValuesShowTheFirstEntry) {
  for (const ListRow& row : kListRows) {
    SCOPED_TRACE(row.setting);
    const int size = static_cast<int>(row.choices.size());
    for (const int index : {-1, size, size + 1}) {
      EXPECT_EQ(row.list.ValueAt(index), row.choices[0].value) << index;
      EXPECT_EQ(row.list.LogLineAt(index), row.none_log_line) << index;
    }
    for (const std::uint8_t value : row.unknown_values) {
      EXPECT_EQ(row.list.IndexOf(value), 0) << int{value};
      EXPECT_EQ(row.list.Find(value), nullptr) << int{value};
    }
  }
}

TEST(BoardSettingNamesTest, FeaturesAreNamedAsTheirCheckBoxes) {
  const std::string_view names[] = {"Typing", "Backlight", "Sticky"};
  ASSERT_EQ(kBoardFeatures.size(), std::size(names));
  for (std::size_t i = 0; i < kBoardFeatures.size(); ++i) {
    EXPECT_EQ(BoardFeatureName(kBoardFeatures[i]), names[i]);
  }
}

}  // namespace
}  // namespace qp40
