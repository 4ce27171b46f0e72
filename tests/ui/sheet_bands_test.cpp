// The bands of a cheat sheet and the page slices of its appendix.
#include "ui/main/sheet_bands.h"

#include <gtest/gtest.h>

#include <string>

#include "keys/key_action.h"
#include "model/configuration.h"
#include "picture/cheat_sheet.h"

namespace qp40 {
namespace {

// A sheet of one profile whose top-left key runs macro 5, listed with `lines` script lines.
QByteArray SheetWithMacroLines(int lines) {
  Configuration config{};
  SetWorkingRecord(config.working_profile, 0, {kActionMacro, 5, 0, 0});
  CheatSheetExtras extras;
  std::string script;
  for (int line = 0; line < lines; ++line) {
    script += "press    a   " + std::to_string(line) + "\r\n";
  }
  extras.macro_scripts[5] = script;
  const std::string svg = RenderCheatSheet(config, extras, {std::uint8_t{0}, Appendix::kShown});
  return QByteArray::fromStdString(svg);
}

TEST(SheetBands, NameTheProfileTheLegendAndEveryLineOfTheAppendix) {
  const SheetBands bands = ReadSheetBands(SheetWithMacroLines(3));
  EXPECT_GT(bands.width, 0);
  ASSERT_EQ(bands.parts.count("profile-1"), 1u);
  ASSERT_EQ(bands.parts.count("legend"), 1u);
  ASSERT_EQ(bands.parts.count("appendix"), 1u);
  // "Appendix", "Macros", "Macro 5" and the three script lines.
  EXPECT_EQ(bands.appendix_lines.size(), 6u);
  EXPECT_LT(bands.parts.at("profile-1").bottom, bands.parts.at("legend").top);
  EXPECT_LE(bands.parts.at("legend").bottom, bands.parts.at("appendix").top);
  EXPECT_LE(bands.parts.at("appendix").bottom, bands.height);
  EXPECT_TRUE(ReadSheetBands("<svg><g id=\"a\"><text").parts.empty());
}

// Every line lies wholly inside one slice, and no slice holds a piece of another line.
TEST(SheetBands, PageSlicesHoldWholeLinesOnly) {
  for (const int script_lines : {0, 40, 41, 42, 43, 120}) {
    SCOPED_TRACE(script_lines);
    const std::vector<Band> lines =
        ReadSheetBands(SheetWithMacroLines(script_lines)).appendix_lines;
    const double page_height = 691;
    const std::vector<Band> slices = PageSlices(lines, page_height, 4);
    for (const Band& slice : slices) EXPECT_LE(slice.Height(), page_height);
    for (const Band& line : lines) {
      int holding = 0;
      for (const Band& slice : slices) {
        const bool inside = slice.top <= line.top && line.bottom <= slice.bottom;
        const bool outside = line.bottom <= slice.top || slice.bottom <= line.top;
        EXPECT_TRUE(inside || outside) << line.top << " in " << slice.top << ".." << slice.bottom;
        holding += inside ? 1 : 0;
      }
      EXPECT_EQ(holding, 1) << line.top;
    }
  }
}

}  // namespace
}  // namespace qp40
