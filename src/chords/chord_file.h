#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "chords/chord_table.h"

namespace qp40 {

// First line of a chord file. The first two values identify the file; the other two are
// written but never checked.
inline constexpr std::array<std::uint8_t, 4> kChordFileHeader = {0x92, 0x02, 0x00, 0x01};

// Message box texts of the chord editor's file commands.
inline constexpr std::string_view kUnknownChordFileMessage = "unknow file";
inline constexpr std::string_view kChordFileOpenFailedMessage = "Can't Open File ";

// The chord file for `table`: the header line, one line per record (a space, then eight
// "0x%2.2x, "), and a last line of a single space without a line end. Lines end with CR LF on
// every platform, so the file is the same wherever it was written.
std::string ExportChordText(const ChordTable& table);

enum class ChordImportStatus {
  kImported,     // the header was right; `values_read` bytes went into the table
  kUnknownFile,  // the first two header values are not 0x92 and 0x02; the table is unchanged
  kCannotOpen,   // the file could not be opened; the table is unchanged
};

struct ChordImportResult {
  ChordImportStatus status = ChordImportStatus::kCannotOpen;
  std::size_t values_read = 0;  // 0..256
};

// Reads a chord file into `table`. Values are hexadecimal with or without "0x", in any case,
// separated by a comma and any run of white space. Reading stops at the first value or comma
// that is not there; the records and bytes after it keep what they held.
ChordImportResult ImportChordText(std::string_view text, ChordTable& table);

// Writes the chord file through a temporary file, so a failed write keeps any old file of that
// name; false when the file cannot be created or written.
bool SaveChordFile(const std::filesystem::path& path, const ChordTable& table);

// Reads a chord file from disk into `table` (see ImportChordText).
ChordImportResult LoadChordFile(const std::filesystem::path& path, ChordTable& table);

}  // namespace qp40
