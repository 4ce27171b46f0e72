#include "keys/nearest_names.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string_view>
#include <vector>

namespace qp40 {
namespace {

using ::testing::ElementsAreArray;

struct NearestRow {
  std::string_view word;
  std::vector<std::string_view> (*names)();
  std::vector<std::string_view> nearest;
};

const NearestRow kNearestRows[] = {
    {"Entr", KeyWordNames, {"Enter", "End", "Attr"}},
    {"enter", KeyWordNames, {"Enter"}},  // case alone is no distance, but exact is needed
    {"pagedwn", KeyWordNames, {"PageDown", "PageUp"}},  // up to three edits for seven characters
    {"F13", KeyWordNames, {"F1", "F3", "F10"}},         // ties keep table order, three at most
    {"xyzzy", KeyWordNames, {}},
    {"", KeyWordNames, {}},
    {"##", KeyWordNames, {"#"}},  // the table holds "#" twice
    {"volume+", MediaKeyNames, {"Volume+", "Volume-"}},
    {"Mute+", MediaKeyNames, {"Mute"}},
    {"m_right", MouseNames, {"M_Right"}},
    {"Mouse", MouseNames, {"Move"}},
};

TEST(NearestNamesTest, SuggestsTheClosestNamesOfATable) {
  for (const NearestRow& row : kNearestRows) {
    EXPECT_THAT(NearestNames(row.word, row.names()), ElementsAreArray(row.nearest))
        << "'" << row.word << "'";
  }
}

TEST(NearestNamesTest, NameTablesHoldWhatTheLookupsFind) {
  const std::vector<std::string_view> words = KeyWordNames();
  EXPECT_EQ(words.front(), "a");
  EXPECT_EQ(words.back(), "00");  // the last named entry the word lookup reaches
  EXPECT_EQ(MediaKeyNames().size(), 27u);
  EXPECT_EQ(MouseNames().back(), "Move");
}

}  // namespace
}  // namespace qp40
