#include "macros/burst_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "model/model_test_support.h"

namespace qp40 {
namespace {

BurstTable FreeTable() {
  BurstTable table{};
  for (std::size_t i = 0; i < kTextEntryCount; ++i) {
    table[i * kTextEntrySize] = kFreeBurstEntry;
  }
  return table;
}

std::vector<std::uint8_t> EntryBytes(const BurstTable& table, std::size_t index) {
  const auto begin = table.begin() + static_cast<std::ptrdiff_t>(index * kTextEntrySize);
  return {begin, begin + kTextEntrySize};
}

TEST(BurstStoreTest, TextsAreCutToFifteenAndEndAtAnUnstorableCharacter) {
  BurstTable table = FreeTable();
  WriteBurstText(table, 3, "ABCDEFGHIJKLMNOPQRST");
  EXPECT_EQ(ReadBurstText(table, 3), "ABCDEFGHIJKLMNO");
  EXPECT_EQ(EntryBytes(table, 3).back(), 0);

  WriteBurstText(table, 4,
                 "ab\xE9"
                 "cd");
  EXPECT_EQ(EntryBytes(table, 4)[2], 0);
  EXPECT_EQ(EntryBytes(table, 4)[3], 'c');
  EXPECT_EQ(ReadBurstText(table, 4), "ab");

  WriteBurstText(table, 5, "");
  EXPECT_EQ(EntryBytes(table, 5), std::vector<std::uint8_t>(kTextEntrySize, 0));
}

TEST(BurstStoreTest, ReadingNeverLeavesTheEntry) {
  BurstTable table{};
  std::fill(table.end() - static_cast<std::ptrdiff_t>(kTextEntrySize), table.end(), 'x');
  EXPECT_EQ(ReadBurstText(table, 255), std::string(16, 'x'));
}

TEST(BurstStoreTest, AllocationTakesTheLowestFreeEntry) {
  BurstTable table = FreeTable();
  EXPECT_EQ(AllocateBurstEntry(table), 0);
  for (std::size_t i = 0; i < kTextEntryCount; ++i) {
    table[i * kTextEntrySize] = 0;
  }
  EXPECT_FALSE(AllocateBurstEntry(table).has_value());

  const BurstTable full = table;
  FreeBurstEntry(table, kNoBurstEntry);
  FreeBurstEntry(table, 256);
  EXPECT_EQ(table, full);
  FreeBurstEntry(table, 255);
  EXPECT_EQ(AllocateBurstEntry(table), 255);
}

TEST(BurstStoreTest, ReplacingReusesTheKeysEntryAndRefusesWhenFull) {
  testing::Surroundings env;
  BurstTable table = FreeTable();
  table[0] = 'x';  // entry 0 in use by another key
  EXPECT_EQ(ReplaceBurstText(table, kNoBurstEntry, "first", env.log, env.notifier), 1);
  EXPECT_EQ(ReplaceBurstText(table, 1, "second", env.log, env.notifier), 1);
  EXPECT_EQ(ReadBurstText(table, 1), "second");

  for (std::size_t i = 0; i < kTextEntryCount; ++i) {
    table[i * kTextEntrySize] = 'y';
  }
  // Full: the key's own entry is the one place for its new text.
  EXPECT_EQ(ReplaceBurstText(table, 200, "third", env.log, env.notifier), 200);
  EXPECT_TRUE(env.notifier.messages.empty());

  const BurstTable full = table;
  EXPECT_FALSE(ReplaceBurstText(table, kNoBurstEntry, "fourth", env.log, env.notifier));
  EXPECT_EQ(table, full);
  EXPECT_EQ(env.sink.lines, std::vector<std::string>{std::string(kBurstFullLog)});
  EXPECT_EQ(env.notifier.messages, std::vector<std::string>{std::string(kBurstFullMessage)});
}

}  // namespace
}  // namespace qp40
