#include "keys/key_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string_view>

namespace qp40 {
namespace {

struct KeyTextRow {
  std::string_view text;
  std::optional<KeyActionRecord> record;
};

constexpr KeyTextRow kKeyTextRows[] = {
    // Key words, as the key dialog stores them.
    {"a", KeyActionRecord{0x80, 0x04, 0x00, 0x00}},
    {"Enter", KeyActionRecord{0x80, 0x28, 0x00, 0x00}},
    {"1", KeyActionRecord{0x80, 0x1E, 0x00, 0x00}},
    {"01", KeyActionRecord{0x80, 0x01, 0x00, 0x00}},
    {"Shift", KeyActionRecord{0x81, 0x02, 0xE1, 0x00}},  // a modifier keeps its bit and its code
    {"Layer", KeyActionRecord{0xBA, 0xEA, 0x00, 0x00}},  // layer keys are stored as tools keys
    {"Reboot", KeyActionRecord{0xBA, 0xF9, 0x00, 0x00}},
    // Records, in either case.
    {"A5B60708", KeyActionRecord{0xA5, 0xB6, 0x07, 0x08}},
    {"a5b60708", KeyActionRecord{0xA5, 0xB6, 0x07, 0x08}},
    {"00000000", KeyActionRecord{0x00, 0x00, 0x00, 0x00}},
    {"ffffffff", KeyActionRecord{0xFF, 0xFF, 0xFF, 0xFF}},
    // Neither.
    {"", std::nullopt},  // the table's unnamed entries are no key word
    {"8004000", std::nullopt},
    {"800400000", std::nullopt},
    {"8004000g", std::nullopt},
    {"0x800400", std::nullopt},
    {"+8004000", std::nullopt},
    {"-8004000", std::nullopt},
    {"42", std::nullopt},  // a number is no key word
    {"enter", std::nullopt},
    {"NoSuchKey", std::nullopt},
};

TEST(KeyTextTest, RecordsAndKeyWordsBecomeRecords) {
  for (const KeyTextRow& row : kKeyTextRows) {
    EXPECT_EQ(ParseKeyText(row.text), row.record) << "'" << row.text << "'";
  }
}

}  // namespace
}  // namespace qp40
