#include "macros/macro_listing.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

namespace qp40 {
namespace {

// Puts one record at `index`: line, command, parameters, delay units, next, macro.
void Put(MacroBuffer& buffer, std::size_t index, std::uint8_t command,
         std::initializer_list<std::uint8_t> parameters, std::uint16_t delay, std::uint8_t next,
         std::uint8_t macro = 1) {
  const std::size_t at = RecordOffset(index);
  buffer[at + kRecordLine] = static_cast<std::uint8_t>(index + 1);
  buffer[at + kRecordCommand] = command;
  std::size_t i = 0;
  for (std::uint8_t parameter : parameters) {
    buffer[at + kRecordParameters + i++] = parameter;
  }
  buffer[at + kRecordDelayLow] = static_cast<std::uint8_t>(delay & 0xFF);
  buffer[at + kRecordDelayHigh] = static_cast<std::uint8_t>(delay >> 8);
  buffer[at + kRecordNext] = next;
  buffer[at + kRecordMacro] = next == 0 ? 0 : macro;
}

std::string ListOne(std::uint8_t command, std::initializer_list<std::uint8_t> parameters,
                    std::uint16_t delay = 4) {
  MacroBuffer buffer{};
  Put(buffer, 0, command, parameters, delay, 0);
  return ListMacro(buffer).value_or("<not ready>");
}

TEST(MacroListingTest, SpellsEachKindOfRecord) {
  struct Case {
    std::string listed;
    std::string expected;
  };
  const Case cases[] = {
      // Zero parameters are left out and later ones move up.
      {ListOne(kMacroPress, {0x04, 0, 0x06}), "press    a   c   20  \r\n"},
      // A parameter code without a word lists as an empty name; a command without one as HID.
      {ListOne(kMacroPress, {0x04, 0x90}), "press    a      20  \r\n"},
      {ListOne(0x90, {}), "HID    20  \r\n"},
      {ListOne(0x90, {0x90}), "HID    HID   20  \r\n"},
      // Mouse and layer keys take numbers; Move takes exactly two.
      {ListOne(kMacroPress, {0xE8, 0x05, 0, 0x30}), "press    Layer1Up   005   048   20  \r\n"},
      {ListOne(kMacroMouse, {0xFE, 0x05, 0xFB, 0x09}), "mouse    Move   005  251   20  \r\n"},
      {ListOne(kMacroString, {0x04, 0, 0x07, 0x09}), "string    4    7    20  \r\n"},
      {ListOne(kMacroJump, {0x0C}), "jump    012    20  \r\n"},
      // A burst number lists as the key with that code.
      {ListOne(kMacroBurst, {0x04}), "burst    a   20  \r\n"},
      {ListOne(kMacroDelay, {}, kMaxDelayUnits), "delay    240000  \r\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.listed, c.expected);
  }
}

TEST(MacroListingTest, FreeFirstRecordMeansNotReady) {
  MacroBuffer buffer{};
  Put(buffer, 0, kMacroPress, {0x04}, 4, 0);
  buffer[kRecordLine] = 0;
  EXPECT_FALSE(ListMacro(buffer).has_value());
  buffer[kRecordLine] = 0xFF;
  EXPECT_FALSE(ListMacro(buffer).has_value());
  buffer.fill(0xFF);  // an erased macro
  EXPECT_FALSE(ListMacro(buffer).has_value());
}

TEST(MacroListingTest, FollowsLinksAndStopsOnLoops) {
  MacroBuffer buffer{};
  Put(buffer, 0, kMacroPress, {0x04}, 4, 7);
  Put(buffer, 7, kMacroRelease, {0x04}, 4, 0);
  EXPECT_EQ(ListMacro(buffer), "press    a   20  \r\nrelease    a   20  \r\n");

  // 0 -> 7 -> 0: each record once.
  Put(buffer, 7, kMacroRelease, {0x04}, 4, 0, 1);
  buffer[RecordOffset(7) + kRecordMacro] = 1;
  EXPECT_EQ(ListMacro(buffer), "press    a   20  \r\nrelease    a   20  \r\n");

  // A chain through all 256 records and back into the middle.
  MacroBuffer endless{};
  for (std::size_t i = 0; i < kMacroRecordCount; ++i) {
    Put(endless, i, kMacroDelay, {}, 4, static_cast<std::uint8_t>(i == 255 ? 100 : i + 1));
  }
  const std::string listing = ListMacro(endless).value_or("");
  std::size_t lines = 0;
  for (std::size_t at = listing.find("\r\n"); at != std::string::npos;
       at = listing.find("\r\n", at + 2)) {
    ++lines;
  }
  EXPECT_EQ(lines, kMacroRecordCount);
}

}  // namespace
}  // namespace qp40
