#include "app/ctl/grid_text.h"

#include "app/ctl/display_text.h"
#include "app/ctl/settings_text.h"
#include "keys/key_label.h"
#include "log/text_format.h"

namespace qp40::ctl {
namespace {

// A cell holds the longest label and one blank.
constexpr std::size_t kCellWidth = kKeyLabelLength + 1;
constexpr std::size_t kRowHeadWidth = 4;

void TrimRight(std::string& line) {
  while (!line.empty() && line.back() == ' ') line.pop_back();
}

std::string TableText(const Configuration& config) {
  const BoardSettingsReader settings(config.working_profile);
  std::string text = "User Profile " + std::to_string(config.current_profile + 1) + ", " +
                     BoardTypeText(settings.BoardType()) + "\n";

  std::string header(kRowHeadWidth, ' ');
  for (std::size_t column = 1; column <= kGridColumns; ++column) {
    header += PaddedTerminalText(std::to_string(column), kCellWidth);
  }
  TrimRight(header);
  text += header + "\n";

  for (std::size_t row = 0; row < kGridRows; ++row) {
    std::string line = PaddedTerminalText(std::to_string(row + 1), kRowHeadWidth);
    for (std::size_t column = 0; column < kGridColumns; ++column) {
      line += PaddedTerminalText(KeyLabelAt(config, row * kGridColumns + column), kCellWidth);
    }
    TrimRight(line);
    text += line + "\n";
  }
  return text;
}

std::string TabbedText(const Configuration& config, GridFormat format) {
  std::string text;
  for (std::size_t row = 0; row < kGridRows; ++row) {
    for (std::size_t column = 0; column < kGridColumns; ++column) {
      const std::size_t position = row * kGridColumns + column;
      if (column > 0) text += '\t';
      text += format == GridFormat::kRecords
                  ? RecordHex(WorkingRecord(config.working_profile, position))
                  : TerminalText(KeyLabelAt(config, position));
    }
    text += '\n';
  }
  return text;
}

}  // namespace

std::string GridText(const Configuration& config, GridFormat format) {
  return format == GridFormat::kTable ? TableText(config) : TabbedText(config, format);
}

std::string KeyLabelAt(const Configuration& config, std::size_t position) {
  return KeyLabel(WorkingRecord(config.working_profile, position), config.burst_table,
                  config.string_unit_table);
}

std::string RecordHex(const KeyRecord& record) {
  return FormatText("%02x%02x%02x%02x", record[0], record[1], record[2], record[3]);
}

}  // namespace qp40::ctl
