// Chord file text: import, the list pane's text, export, and import and export again.

#include <cstdint>
#include <string>
#include <string_view>

#include "chords/chord_file.h"
#include "chords/chord_text.h"
#include "fuzz_support.h"

namespace {

// The longest line of the list pane: the number, both trigger keys, the modifiers and six
// outputs, each with its separator.
constexpr std::size_t kMaxListLineLength = 400;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace qp40;
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  ChordTable table{};
  table[3].fill(0x33);
  const ChordTable before = table;
  const ChordImportResult imported = ImportChordText(text, table);
  QP40_REQUIRE(imported.status != ChordImportStatus::kCannotOpen);
  QP40_REQUIRE(imported.values_read <= kChordCount * kChordRecordSize);
  if (imported.status == ChordImportStatus::kUnknownFile) {
    QP40_REQUIRE(table == before && imported.values_read == 0);
  }

  const std::string list = ChordListText(table);
  QP40_REQUIRE(fuzz::CountLines(list) == kChordCount);
  std::size_t line_start = 0;
  for (std::size_t end = list.find("\r\n"); end != std::string::npos;
       end = list.find("\r\n", line_start)) {
    QP40_REQUIRE(end - line_start <= kMaxListLineLength);
    line_start = end + 2;
  }

  const std::string exported = ExportChordText(table);
  ChordTable again{};
  const ChordImportResult reimported = ImportChordText(exported, again);
  QP40_REQUIRE(reimported.status == ChordImportStatus::kImported);
  QP40_REQUIRE(reimported.values_read == kChordCount * kChordRecordSize);
  QP40_REQUIRE(again == table);
  QP40_REQUIRE(ExportChordText(again) == exported);
  return 0;
}
