#include "log/text_format.h"

#include <gtest/gtest.h>

#include <string>

namespace qp40 {
namespace {

TEST(FormatTextTest, WidthsAndBlanksAreKept) {
  EXPECT_EQ(FormatText("Next UNIT = %2x", 5u), "Next UNIT =  5");
  EXPECT_EQ(FormatText("String Create UNIT = %d ", 7), "String Create UNIT = 7 ");
  EXPECT_EQ(FormatText("%3.3d  %3.3d", 4, 120), "004  120");
  EXPECT_EQ(FormatText("0x%0*x", 8, 0x816100Cu), "0x0816100c");
  EXPECT_EQ(FormatText("%s", ""), "");
}

TEST(FormatTextTest, LongTextsAreNeverCut) {
  // Around the length that is formatted in one go, and far beyond it.
  for (const std::size_t length : {126u, 127u, 128u, 129u, 1000u}) {
    const std::string word(length - 2, 'w');
    const std::string text = FormatText(">%s<", word.c_str());
    EXPECT_EQ(text, ">" + word + "<") << length;
    EXPECT_EQ(text.size(), length);
  }
}

}  // namespace
}  // namespace qp40
