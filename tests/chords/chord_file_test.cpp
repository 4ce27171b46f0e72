#include "chords/chord_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "support/file_size_limit.h"
#include "support/temp_folder.h"

namespace qp40 {
namespace {

std::string ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

ChordTable FilledTable(std::uint8_t value) {
  ChordTable table;
  for (ChordRecord& record : table) {
    record.fill(value);
  }
  return table;
}

// A table with something in every byte position, so a shifted or lost value shows.
ChordTable SampleTable() {
  ChordTable table{};
  for (std::size_t r = 0; r < table.size(); ++r) {
    for (std::size_t b = 0; b < kChordRecordSize; ++b) {
      table[r][b] = static_cast<std::uint8_t>(r * 8 + b + 0x80);
    }
  }
  return table;
}

TEST(ChordFileTest, EmptyTableExportsHeaderAndThirtyTwoZeroLines) {
  std::string expected = "0x92, 0x02, 0x00, 0x01, \r\n";
  for (int i = 0; i < 32; ++i) {
    expected += " 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, \r\n";
  }
  expected += " ";
  const std::string text = ExportChordText(ChordTable{});
  EXPECT_EQ(text, expected);

  ChordTable table = FilledTable(0x55);
  const ChordImportResult result = ImportChordText(text, table);
  EXPECT_EQ(result.status, ChordImportStatus::kImported);
  EXPECT_EQ(result.values_read, 256u);
  EXPECT_EQ(table, ChordTable{});
}

TEST(ChordFileTest, GoldenFileImportsAndExportsByteForByte) {
  const std::filesystem::path golden = std::filesystem::path(QP40_TEST_DATA) / "chords.txt";
  ChordTable table{};
  ASSERT_EQ(LoadChordFile(golden, table).status, ChordImportStatus::kImported);
  // s + d -> Enter, and space + a -> Shift+Ctrl w d c.
  EXPECT_EQ(table[0], (ChordRecord{0x16, 0x07, 0x00, 0x28, 0, 0, 0, 0}));
  EXPECT_EQ(table[1], (ChordRecord{0x2C, 0x04, 0x03, 0x1A, 0x07, 0x06, 0, 0}));
  EXPECT_EQ(table[31], (ChordRecord{0x04, 0x05, 0xA8, 0x06, 0x07, 0x08, 0x09, 0x0A}));
  EXPECT_EQ(ExportChordText(table), ReadWholeFile(golden));
}

TEST(ChordFileTest, SaveAndLoadRoundTripThroughDisk) {
  const std::filesystem::path path =
      std::filesystem::path(::testing::TempDir()) / "chord_round_trip.txt";
  ASSERT_TRUE(SaveChordFile(path, SampleTable()));
  const std::string first = ReadWholeFile(path);

  ChordTable table{};
  const ChordImportResult result = LoadChordFile(path, table);
  EXPECT_EQ(result.status, ChordImportStatus::kImported);
  EXPECT_EQ(table, SampleTable());
  ASSERT_TRUE(SaveChordFile(path, table));
  EXPECT_EQ(ReadWholeFile(path), first);
  std::filesystem::remove(path);
}

TEST(ChordFileTest, SpellingsOfTheSameFileImportAlike) {
  const std::string canonical = ExportChordText(SampleTable());
  struct Case {
    const char* what;
    std::string text;
  };
  auto replace_all = [](std::string text, std::string_view from, std::string_view to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
      text.replace(at, from.size(), to);
    }
    return text;
  };
  std::string upper = canonical;
  for (char& c : upper) {
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  const Case cases[] = {
      {"upper case", upper},
      {"no space after commas", replace_all(canonical, ", ", ",")},
      {"without 0x", replace_all(canonical, "0x", "")},
      {"tabs and bare LF", replace_all(replace_all(canonical, "\r\n", "\n"), ", ", ",\t")},
      {"all on one line", replace_all(canonical, "\r\n", " ")},
  };
  for (const Case& c : cases) {
    ChordTable table{};
    const ChordImportResult result = ImportChordText(c.text, table);
    EXPECT_EQ(result.status, ChordImportStatus::kImported) << c.what;
    EXPECT_EQ(table, SampleTable()) << c.what;
  }
}

TEST(ChordFileTest, ReadingStopsAtTheFirstUnreadableValueAndKeepsTheRest) {
  const std::string full = ExportChordText(SampleTable());
  struct Case {
    const char* what;
    std::string text;
    std::size_t values_read;
  };
  // Offsets into the export: the header line is 26 bytes, each record line 51.
  const std::size_t record_2 = 26 + 51;
  const Case cases[] = {
      {"header only", full.substr(0, 26), 0},
      {"cut inside record 2", full.substr(0, record_2 + 1 + 3 * 6), 11},
      {"a word in record 2", full.substr(0, record_2 + 1 + 2 * 6) + "zz, 0x01,", 10},
      {"missing comma in record 1", "0x92, 0x02, 0, 1,\n 1, 2 3, 4,", 2},
      {"value 0x1ff keeps its low byte", "0x92,0x02,0,1, 0x1ff", 1},
  };
  for (const Case& c : cases) {
    ChordTable table = FilledTable(0xEE);
    const ChordImportResult result = ImportChordText(c.text, table);
    EXPECT_EQ(result.status, ChordImportStatus::kImported) << c.what;
    EXPECT_EQ(result.values_read, c.values_read) << c.what;
    for (std::size_t i = c.values_read; i < kChordCount * kChordRecordSize; ++i) {
      ASSERT_EQ(table[i / 8][i % 8], 0xEE) << c.what << " byte " << i;
    }
  }
  ChordTable table{};
  ImportChordText("0x92,0x02,0,1, 0x1ff,", table);
  EXPECT_EQ(table[0][0], 0xFF);
}

TEST(ChordFileTest, WrongHeaderIsAnUnknownFileAndChangesNothing) {
  const char* texts[] = {
      "",
      "hello",
      "0x93, 0x02, 0x00, 0x01, \r\n 0x01,",
      "0x92, 0x03, 0x00, 0x01, \r\n 0x01,",
      "0x92; 0x02, 0x00, 0x01, \r\n 0x01,",
      "0x192, 0x02, 0x00, 0x01, \r\n 0x01,",
      "0x92",
  };
  for (const char* text : texts) {
    ChordTable table = FilledTable(0x33);
    EXPECT_EQ(ImportChordText(text, table).status, ChordImportStatus::kUnknownFile) << text;
    EXPECT_EQ(table, FilledTable(0x33)) << text;
  }
}

TEST(ChordFileTest, MissingFileCannotBeOpened) {
  ChordTable table = FilledTable(0x12);
  const auto result =
      LoadChordFile(std::filesystem::path(::testing::TempDir()) / "no/such.txt", table);
  EXPECT_EQ(result.status, ChordImportStatus::kCannotOpen);
  EXPECT_EQ(table, FilledTable(0x12));
  EXPECT_FALSE(SaveChordFile(std::filesystem::path(::testing::TempDir()) / "no/such.txt", table));
}

TEST(ChordFileTest, ExportFailingHalfWayKeepsTheOldFile) {
  if (!testing::kFileSizeLimitAvailable) GTEST_SKIP() << "no file size limit on this system";
  const testing::TempFolder folder{"qp40-chords-"};
  const std::filesystem::path path = folder.Path() / "chords.txt";
  ASSERT_TRUE(SaveChordFile(path, FilledTable(0x12)));
  const std::string old_text = ReadWholeFile(path);

  bool saved = true;
  {
    const testing::FileSizeLimit limit(old_text.size() / 2);
    saved = SaveChordFile(path, SampleTable());
  }

  EXPECT_FALSE(saved);
  EXPECT_EQ(ReadWholeFile(path), old_text);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()),
                          std::filesystem::directory_iterator()),
            1);
}

}  // namespace
}  // namespace qp40
