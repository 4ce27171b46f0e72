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

std::string TableText(const Configuration& config, std::uint8_t profile, const ProfileView& view) {
  const BoardSettingsReader settings(view.settings);
  std::string text = "User Profile " + std::to_string(profile + 1) + ", " +
                     BoardTypeText(settings.BoardType()) + "\n";

  std::string header(kRowHeadWidth, ' ');
  for (int column = 1; column <= kGridColumnCount; ++column) {
    header += PaddedTerminalText(std::to_string(column), kCellWidth);
  }
  TrimRight(header);
  text += header + "\n";

  for (int row = 0; row < kGridRowCount; ++row) {
    std::string line = PaddedTerminalText(std::to_string(row + 1), kRowHeadWidth);
    for (int column = 0; column < kGridColumnCount; ++column) {
      const auto position = GridPosition(row + 1, column + 1);
      line += PaddedTerminalText(RecordLabel(config, view.records[position]), kCellWidth);
    }
    TrimRight(line);
    text += line + "\n";
  }
  return text;
}

std::string TabbedText(const Configuration& config, const ProfileView& view, GridFormat format) {
  std::string text;
  for (int row = 0; row < kGridRowCount; ++row) {
    for (int column = 0; column < kGridColumnCount; ++column) {
      const KeyActionRecord& record = view.records[GridPosition(row + 1, column + 1)];
      if (column > 0) text += '\t';
      text += format == GridFormat::kRecords ? RecordHex(record)
                                             : TerminalText(RecordLabel(config, record));
    }
    text += '\n';
  }
  return text;
}

}  // namespace

std::string GridText(const Configuration& config, std::uint8_t profile, GridFormat format) {
  const ProfileView view = ViewProfile(config, profile);
  return format == GridFormat::kTable ? TableText(config, profile, view)
                                      : TabbedText(config, view, format);
}

std::string RecordLabel(const Configuration& config, const KeyActionRecord& record) {
  return KeyLabel(record, config.burst_table, config.string_unit_table);
}

std::string RecordHex(const KeyActionRecord& record) {
  return FormatText("%02x%02x%02x%02x", record[0], record[1], record[2], record[3]);
}

}  // namespace qp40::ctl
