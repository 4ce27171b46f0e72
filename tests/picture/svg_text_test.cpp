#include "picture/svg_text.h"

#include <gtest/gtest.h>

#include <string>

namespace qp40 {
namespace {

TEST(SvgTextTest, EscapesMarkupAndReplacesWhatXmlCannotHold) {
  struct Case {
    std::string keypad_bytes;
    std::string expected;
  };
  const Case cases[] = {
      {"a<b&\"c\"", "a&lt;b&amp;&quot;c&quot;"},
      {"it's > 2", "it&apos;s &gt; 2"},
      // Latin-1 bytes become their UTF-8 characters.
      {"caf\xE9 \xB5", "caf\xC3\xA9 \xC2\xB5"},
      // A character the keypad could not keep is stored as 0x80, a C1 control.
      {"x\x80y", "x\xEF\xBF\xBDy"},
      {std::string("tab\there\x01\x7F", 10), "tab\xEF\xBF\xBDhere\xEF\xBF\xBD\xEF\xBF\xBD"},
      {std::string("nul\0end", 7),
       "nul\xEF\xBF\xBD"
       "end"},
      {"", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(XmlEscapeKeypadBytes(c.keypad_bytes), c.expected) << c.keypad_bytes;
  }
}

TEST(SvgTextTest, KeepsWellFormedUtf8AndReplacesBrokenSequences) {
  struct Case {
    std::string utf8;
    std::string expected;
  };
  const Case cases[] = {
      {"s \xE2\x86\x92 d", "s \xE2\x86\x92 d"},                  // an arrow stays
      {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},                  // beyond the BMP stays
      {"a\xE9z", "a\xEF\xBF\xBDz"},                              // a lone Latin-1 byte
      {"\xC0\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD"},                  // overlong '/'
      {"\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},  // a surrogate
      {"\xE2\x86", "\xEF\xBF\xBD\xEF\xBF\xBD"},                  // cut short at the end
      {"\xC2\x85", "\xEF\xBF\xBD"},                              // C1 control NEL
  };
  for (const Case& c : cases) {
    EXPECT_EQ(XmlEscapeUtf8(c.utf8), c.expected) << c.utf8;
  }
}

TEST(SvgTextTest, FitsTextWithAnEllipsisOnlyWhenItIsLonger) {
  EXPECT_EQ(FittedKeypadText("DIMLINEAR", 9), "DIMLINEAR");
  EXPECT_EQ(FittedKeypadText("DIMLINEARX", 9), "DIMLINEA\xE2\x80\xA6");
  // The cut counts keypad characters, and escaping follows it.
  EXPECT_EQ(FittedKeypadText("<<<<", 3), "&lt;&lt;\xE2\x80\xA6");
  EXPECT_EQ(FittedKeypadText("\xE9\xE9\xE9", 2), "\xC3\xA9\xE2\x80\xA6");
  EXPECT_EQ(FittedKeypadText("abc", 0), "");
}

}  // namespace
}  // namespace qp40
