#include "macros/string_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "macros/macro_test_support.h"

namespace qp40 {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::string Letters(std::size_t n) {
  std::string text;
  for (std::size_t i = 0; i < n; ++i) {
    text += static_cast<char>('A' + i % 26);
  }
  return text;
}

Bytes UnitBytes(const StringUnitTable& table, std::size_t unit) {
  const auto begin = table.begin() + static_cast<std::ptrdiff_t>(unit * kTextEntrySize);
  return {begin, begin + kTextEntrySize};
}

void MarkInUse(StringUnitTable& table, std::size_t first, std::size_t end) {
  for (std::size_t unit = first; unit < end; ++unit) {
    table[unit * kTextEntrySize] = kUnitInUse;
  }
}

class ChainedStringTest : public testing::KeypadFixture {
 protected:
  std::optional<std::uint8_t> Store(std::string_view text) {
    return StoreString(config, link, text, env.log, env.notifier);
  }
  StringUnitTable& table = config.string_unit_table;
};

TEST_F(ChainedStringTest, TwentyFourCharactersTakeTwoLinkedUnits) {
  const std::string text = Letters(24);
  const std::size_t requests = keypad.Requests().size();
  EXPECT_EQ(Store(text), 1);
  Bytes first = {0xAA, 24};
  first.insert(first.end(), text.begin(), text.begin() + 12);
  first.insert(first.end(), {0xFA, 2});
  Bytes second = {0xAA, 12};
  second.insert(second.end(), text.begin() + 12, text.end());
  second.insert(second.end(), {0, 0});
  EXPECT_EQ(UnitBytes(table, 1), first);
  EXPECT_EQ(UnitBytes(table, 2), second);
  EXPECT_EQ(env.sink.lines, (std::vector<std::string>{text, "String Create: First UNIT = 0x 1 ",
                                                      "Next UNIT =  2"}));
  EXPECT_EQ(ReadChainedString(table, 1), text);
  // Nothing goes to the keypad: the table travels with the next profile save.
  EXPECT_EQ(keypad.Requests().size(), requests);
}

TEST_F(ChainedStringTest, LongestStringsTakeTwentyOneUnitsAndLongerOnesAreCut) {
  EXPECT_EQ(Store(Letters(252)), 1);
  EXPECT_EQ(StringChain(table, 1).size(), 21u);
  EXPECT_EQ(ReadChainedString(table, 1), Letters(252));

  EXPECT_EQ(Store(Letters(253)), 22);
  EXPECT_EQ(table[22 * kTextEntrySize + kUnitLength], 252);
  EXPECT_EQ(StringChain(table, 22).size(), 21u);
  EXPECT_EQ(ReadChainedString(table, 22), Letters(252));
  EXPECT_EQ(AllocateStringUnit(table, StringFormat::kChained), 43);
}

TEST_F(ChainedStringTest, UnprintableCharactersBecomeQuestionMarks) {
  EXPECT_EQ(Store("a\tb"), 1);
  EXPECT_EQ(ReadChainedString(table, 1), "a?b");
  EXPECT_EQ(env.sink.lines.back(), "wrong ASCII code =  9");
}

TEST_F(ChainedStringTest, FreeingClearsTheWholeChainWithALinePerUnit) {
  Store("keep");
  Store(Letters(30));  // units 2, 3, 4
  env.sink.lines.clear();
  FreeString(table, 2, env.log);
  EXPECT_EQ(env.sink.lines, (std::vector<std::string>{"Free String Flash Sector ID =  2",
                                                      "Free String Flash Sector ID =  3",
                                                      "Free String Flash Sector ID =  4"}));
  for (std::size_t unit : {2, 3, 4}) {
    EXPECT_EQ(UnitBytes(table, unit), Bytes(kTextEntrySize, 0));
  }
  EXPECT_EQ(ReadChainedString(table, 1), "keep");
  FreeString(table, kNoString, env.log);
  EXPECT_EQ(env.sink.lines.size(), 3u);
}

TEST_F(ChainedStringTest, LoopedAndBrokenChainsEndWhereTheyGoWrong) {
  // 1 -> 2 -> 1, each claiming more text to come.
  for (std::uint8_t unit : {1, 2}) {
    Bytes bytes = {0xAA, 200};
    const std::string part = Letters(12);
    bytes.insert(bytes.end(), part.begin(), part.end());
    bytes.insert(bytes.end(), {0xFA, static_cast<std::uint8_t>(3 - unit)});
    std::ranges::copy(bytes, table.begin() + unit * kTextEntrySize);
  }
  EXPECT_EQ(ReadChainedString(table, 1), Letters(12) + Letters(12));
  EXPECT_EQ(StringChain(table, 1), (std::vector<std::uint8_t>{1, 2}));

  // A link to a unit not in use.
  table[2 * kTextEntrySize] = 0;
  EXPECT_EQ(ReadChainedString(table, 1), Letters(12));
  EXPECT_FALSE(ReadChainedString(table, 2).has_value());
  EXPECT_FALSE(ReadChainedString(table, 256).has_value());

  FreeString(table, 1, env.log);
  EXPECT_EQ(table, StringUnitTable{});
}

TEST_F(ChainedStringTest, ChainsRunningOnPastTwentyOneUnitsAreCut) {
  // Units 1 to 30 linked in a line, each claiming more text to come, as a damaged table may.
  for (std::uint8_t unit = 1; unit <= 30; ++unit) {
    Bytes bytes = {0xAA, 200};
    const std::string part = Letters(12);
    bytes.insert(bytes.end(), part.begin(), part.end());
    bytes.insert(bytes.end(), {0xFA, static_cast<std::uint8_t>(unit + 1)});
    std::ranges::copy(bytes, table.begin() + unit * kTextEntrySize);
  }
  EXPECT_EQ(ReadChainedString(table, 1).value_or("").size(), kMaxStringLength);
  EXPECT_EQ(StringChain(table, 1).size(), kMaxChainUnits);

  FreeString(table, 1, env.log);
  EXPECT_EQ(env.sink.lines.size(), kMaxChainUnits);
  EXPECT_EQ(UnitBytes(table, 21), Bytes(kTextEntrySize, 0));
  EXPECT_EQ(table[22 * kTextEntrySize], kUnitInUse);
}

TEST_F(ChainedStringTest, FullTableRefusesAndKeepsEverything) {
  MarkInUse(table, 1, 255);  // only unit 255 is free
  const StringUnitTable before = table;
  EXPECT_FALSE(Store(Letters(13)).has_value());
  EXPECT_EQ(table, before);
  EXPECT_EQ(env.sink.lines.back(), "No space for String Data,");
  EXPECT_EQ(env.notifier.messages,
            std::vector<std::string>{"Error: Space of string is full\xEF\xBC\x8C Please restore "
                                     "factory setting to free space."});
  EXPECT_EQ(Store(Letters(12)), 255);
}

TEST_F(ChainedStringTest, ReplacingKeepsTheOldStringWhenTheNewOneDoesNotFit) {
  EXPECT_EQ(Store(Letters(20)), 1);  // units 1 and 2
  MarkInUse(table, 3, 256);
  // The old string's two units make room for a new string of up to 24 characters.
  EXPECT_EQ(ReplaceString(config, link, 1, Letters(24), env.log, env.notifier), 1);
  EXPECT_EQ(ReadChainedString(table, 1), Letters(24));

  const StringUnitTable before = table;
  EXPECT_FALSE(ReplaceString(config, link, 1, Letters(25), env.log, env.notifier).has_value());
  EXPECT_EQ(table, before);
  EXPECT_EQ(env.notifier.messages.size(), 1u);
}

class BlockStringTest : public testing::KeypadFixture {
 protected:
  BlockStringTest() : KeypadFixture(0x21) {}
  std::optional<std::uint8_t> Store(std::string_view text) {
    return StoreString(config, link, text, env.log, env.notifier);
  }
  StringUnitTable& table = config.string_unit_table;
};

TEST_F(BlockStringTest, ShortStringsLiveInTheirUnitAlone) {
  const std::size_t requests = keypad.Requests().size();
  EXPECT_EQ(Store("Hello\x01world"), 0);
  Bytes unit = {0xAA, 11};
  for (char c : std::string("Hello world")) {
    unit.push_back(static_cast<std::uint8_t>(c));
  }
  unit.insert(unit.end(), 3, 0);
  EXPECT_EQ(UnitBytes(table, 0), unit);
  EXPECT_EQ(keypad.Requests().size(), requests);
  EXPECT_EQ(ReadString(config, link, 0), "Hello world");
  EXPECT_EQ(env.sink.lines.back(), "String Create UNIT = 0 ");
}

TEST_F(BlockStringTest, LongStringsGoToTheirSlotAndSpareTheRestOfTheBlock) {
  MarkInUse(table, 0, 9);
  std::ranges::fill(keypad.BlockData(35), 0x5A);
  const std::size_t first_request = keypad.Requests().size();

  const std::string text = Letters(30);
  EXPECT_EQ(Store(text), 9);
  EXPECT_EQ(CommandsSince(first_request),
            (std::vector<std::pair<std::uint8_t, std::uint8_t>>{
                {kCmdReadPage, 35}, {kCmdPrepareBlock, 35}, {kCmdWritePage, 35}}));
  const auto block = keypad.BlockData(35);
  EXPECT_EQ(block[256], 0xAA);
  EXPECT_EQ(block[257], 30);
  EXPECT_TRUE(std::equal(text.begin(), text.end(), block.begin() + 258));
  EXPECT_TRUE(
      std::all_of(block.begin() + 258 + 30, block.begin() + 512, [](auto b) { return b == 0; }));
  EXPECT_TRUE(std::all_of(block.begin(), block.begin() + 256, [](auto b) { return b == 0x5A; }));
  EXPECT_TRUE(std::all_of(block.begin() + 512, block.end(), [](auto b) { return b == 0x5A; }));
  EXPECT_EQ(UnitBytes(table, 9)[kUnitLength], 12);
  EXPECT_EQ(env.sink.lines.back(), "String Create UNIT = 9 , Block=35,  bufferID=1, ");
  EXPECT_EQ(ReadString(config, link, 9), text);
}

TEST_F(BlockStringTest, SlotBlockThatCannotBeReadGivesNoTextRatherThanACutOne) {
  EXPECT_EQ(Store(Letters(100)), 0);
  FailNextPage(1);  // the second page of block 34, in the middle of the text
  EXPECT_FALSE(ReadString(config, link, 0).has_value());
  EXPECT_EQ(ReadString(config, link, 0), Letters(100));
}

TEST_F(BlockStringTest, TwelveCharactersAlreadyTakeASlot) {
  EXPECT_EQ(Store(Letters(12)), 0);
  const auto block = keypad.BlockData(34);
  EXPECT_EQ(block[0], 0xAA);
  EXPECT_EQ(block[1], 12);
  EXPECT_EQ(block[13], 'L');
  EXPECT_EQ(UnitBytes(table, 0)[kUnitLength], 12);
}

TEST_F(BlockStringTest, FullTableAndUnreadableBlockAreRefused) {
  MarkInUse(table, 0, kBlockFormatUnits);
  StringUnitTable before = table;
  EXPECT_FALSE(Store("abc").has_value());
  EXPECT_EQ(table, before);
  EXPECT_EQ(env.notifier.messages.size(), 1u);

  table[5 * kTextEntrySize] = 0;
  before = table;
  const std::vector<std::uint8_t> slots(keypad.BlockData(34).begin(), keypad.BlockData(34).end());
  FailNextPage();
  EXPECT_FALSE(Store(Letters(40)).has_value());
  EXPECT_EQ(table, before);
  EXPECT_TRUE(std::ranges::equal(keypad.BlockData(34), slots));
  EXPECT_EQ(env.notifier.messages.back(), kStringBlockUnreadableMessage);

  // The slot block is read (64 pages) and prepared; then its first page fails to write.
  FailNextPage(kPagesPerBlock + 1);
  EXPECT_FALSE(Store(Letters(40)).has_value());
  EXPECT_EQ(table, before);
  EXPECT_EQ(env.notifier.messages.back(), kStringBlockWriteFailedMessage);
}

TEST_F(BlockStringTest, ReplacingAfterAFailedStoreKeepsTheOldString) {
  EXPECT_EQ(Store("old"), 0);
  MarkInUse(table, 1, kBlockFormatUnits);
  FailNextPage();
  EXPECT_FALSE(ReplaceString(config, link, 0, Letters(20), env.log, env.notifier).has_value());
  EXPECT_EQ(ReadString(config, link, 0), "old");
  EXPECT_EQ(ReplaceString(config, link, 0, "new", env.log, env.notifier), 0);
  EXPECT_EQ(ReadString(config, link, 0), "new");
}

TEST_F(BlockStringTest, EmptyTextsAndUnitsBeyondTheSlotsHaveNoText) {
  EXPECT_EQ(Store(""), 0);
  EXPECT_EQ(table, StringUnitTable{});
  EXPECT_FALSE(ReadString(config, link, 0).has_value());
  table[200 * kTextEntrySize + kUnitLength] = 40;
  const std::size_t requests = keypad.Requests().size();
  EXPECT_FALSE(ReadString(config, link, 200).has_value());
  EXPECT_EQ(keypad.Requests().size(), requests);
}

}  // namespace
}  // namespace qp40
