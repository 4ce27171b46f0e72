#include "chords/chord_file.h"

#include <cstdint>
#include <fstream>
#include <istream>
#include <limits>
#include <span>
#include <sstream>

#include "files/file_replace.h"
#include "log/text_format.h"

namespace qp40 {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kRecordIndent = " ";
constexpr std::string_view kLastLine = " ";
constexpr std::size_t kHeaderCheckedValues = 2;

std::string HexValueText(std::uint8_t value) { return FormatText("0x%2.2x, ", value); }

bool IsSpace(int c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

int HexDigitValue(int c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads the chord file's values the way a "%x," pattern does: white space is skipped before a
// number and wherever the pattern has a blank, the commas must follow the numbers directly.
class HexReader {
 public:
  explicit HexReader(std::istream& in) : in_(in) {}

  void SkipSpace() {
    while (IsSpace(in_.peek())) {
      in_.get();
    }
  }

  // A hexadecimal number with an optional sign and "0x"; the value saturates at 32 bits.
  bool ReadNumber(std::uint32_t& value) {
    SkipSpace();
    bool negative = false;
    if (in_.peek() == '+' || in_.peek() == '-') {
      negative = in_.get() == '-';
    }
    std::uint64_t number = 0;
    bool have_digit = false;
    if (in_.peek() == '0') {
      in_.get();
      have_digit = true;
      if (in_.peek() == 'x' || in_.peek() == 'X') {
        in_.get();
      }
    }
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint32_t>::max();
    for (int digit = HexDigitValue(in_.peek()); digit >= 0; digit = HexDigitValue(in_.peek())) {
      in_.get();
      have_digit = true;
      number = number * 16 + static_cast<std::uint64_t>(digit);
      if (number > kMax) {
        number = kMax;
      }
    }
    if (!have_digit) {
      return false;
    }
    value = static_cast<std::uint32_t>(number);
    if (negative) {
      value = 0u - value;
    }
    return true;
  }

  // A comma directly after a number, then any white space.
  bool ReadSeparator() {
    if (in_.peek() != ',') {
      return false;
    }
    in_.get();
    SkipSpace();
    return true;
  }

 private:
  std::istream& in_;
};

ChordImportResult ImportFromStream(std::istream& in, ChordTable& table) {
  HexReader reader(in);
  std::array<std::uint32_t, kChordFileHeader.size()> header{};
  std::size_t header_values = 0;
  while (header_values < header.size() && reader.ReadNumber(header[header_values])) {
    ++header_values;
    if (!reader.ReadSeparator()) {
      break;
    }
  }
  if (header_values < kHeaderCheckedValues || header[0] != kChordFileHeader[0] ||
      header[1] != kChordFileHeader[1]) {
    return {ChordImportStatus::kUnknownFile, 0};
  }

  ChordImportResult result{ChordImportStatus::kImported, 0};
  for (ChordRecord& record : table) {
    for (std::uint8_t& byte : record) {
      std::uint32_t value = 0;
      if (!reader.ReadNumber(value)) {
        return result;
      }
      byte = static_cast<std::uint8_t>(value);
      ++result.values_read;
      // Without its comma the next value cannot be told apart from a stray word.
      if (!reader.ReadSeparator()) {
        return result;
      }
    }
  }
  return result;
}

}  // namespace

std::string ExportChordText(const ChordTable& table) {
  std::string text;
  for (std::uint8_t value : kChordFileHeader) {
    text += HexValueText(value);
  }
  text += kLineEnd;
  for (const ChordRecord& record : table) {
    text += kRecordIndent;
    for (std::uint8_t byte : record) {
      text += HexValueText(byte);
    }
    text += kLineEnd;
  }
  text += kLastLine;
  return text;
}

ChordImportResult ImportChordText(std::string_view text, ChordTable& table) {
  std::istringstream in{std::string(text)};
  return ImportFromStream(in, table);
}

bool SaveChordFile(const std::filesystem::path& path, const ChordTable& table) {
  const std::string text = ExportChordText(table);
  return ReplaceFileContents(
      path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

ChordImportResult LoadChordFile(const std::filesystem::path& path, ChordTable& table) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    return {ChordImportStatus::kCannotOpen, 0};
  }
  return ImportFromStream(in, table);
}

}  // namespace qp40
