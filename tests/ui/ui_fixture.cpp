#include "ui_fixture.h"

namespace qp40::test {

std::vector<std::string> WindowRig::LogLines() const {
  std::vector<std::string> lines;
  const std::string& text = log.Text();
  const std::string stamp = "      (09:03:07)\r\n";
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find(stamp, start);
    if (end == std::string::npos) break;
    lines.push_back(text.substr(start, end - start));
    start = end + stamp.size();
  }
  return lines;
}

void PutRecord(std::span<std::uint8_t, kBlockSize> block, int profile, int position,
               const std::array<std::uint8_t, 4>& record) {
  const std::size_t slot = kProfileSize * profile + kSlotSize * kDefaultKeyCodeMap[position];
  std::copy(record.begin(), record.end(), block.begin() + slot);
}

}  // namespace qp40::test
