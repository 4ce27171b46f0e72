#include "macros/macro_listing.h"

#include <bitset>
#include <span>
#include <string_view>

#include "keys/key_words.h"
#include "log/text_format.h"

namespace qp40 {

namespace {

constexpr std::string_view kNoName = "HID";
constexpr std::string_view kAfterCommand = "    ";
constexpr std::string_view kAfterParameter = "   ";

// Name of a further parameter: the first key word with that code that a script word can name.
std::string_view ParameterName(std::uint8_t code) {
  for (std::size_t i = 0; i < kKeyWordsMatched; ++i) {
    if (KeyWordAt(i).code == code) {
      return KeyWordAt(i).name;
    }
  }
  return {};
}

void AppendParameters(std::string& text, std::span<const std::uint8_t, kMacroRecordSize> record) {
  const std::uint8_t command = record[kRecordCommand];
  const auto parameter = [&](std::size_t number) {
    return static_cast<int>(record[kRecordParameters + number - 1]);
  };

  if (command == kMacroString) {
    text += FormatText("%d    ", parameter(1));
    for (std::size_t number : {2, 3}) {
      if (parameter(number) != 0) {
        text += FormatText("%d    ", parameter(number));
      }
    }
    return;
  }
  if (command == kMacroJump) {
    text += FormatText("%3.3d    ", parameter(1));
    return;
  }

  const std::uint8_t first = record[kRecordParameters];
  if (first != 0) {
    text.append(CodeToName(first, kNoName)).append(kAfterParameter);
  }
  if (first == kMoveCode) {
    text += FormatText("%3.3d  %3.3d", parameter(2), parameter(3));
    text += kAfterParameter;
    return;
  }
  for (std::size_t number = 2; number <= kRecordParameterCount; ++number) {
    const auto code = static_cast<std::uint8_t>(parameter(number));
    if (code == 0) {
      continue;
    }
    if (first < kFirstMouseOrLayerCode) {
      text += ParameterName(code);
    } else {
      text += FormatText("%3.3d", parameter(number));
    }
    text += kAfterParameter;
  }
}

}  // namespace

std::optional<std::string> ListMacro(const MacroBuffer& buffer) {
  if (!IsMacroReady(buffer)) {
    return std::nullopt;
  }
  std::string text;
  std::bitset<kMacroRecordCount> listed;
  std::size_t index = 0;
  while (!listed[index]) {
    listed[index] = true;
    const auto record = std::span(buffer).subspan(RecordOffset(index)).first<kMacroRecordSize>();
    text.append(CodeToName(record[kRecordCommand], kNoName)).append(kAfterCommand);
    AppendParameters(text, record);
    const int delay = record[kRecordDelayLow] | (record[kRecordDelayHigh] << 8);
    text += FormatText("%d  \r\n", delay * kMsPerDelayUnit);
    if (record[kRecordNext] == 0 && record[kRecordMacro] == 0) {
      break;
    }
    index = record[kRecordNext];
  }
  return text;
}

}  // namespace qp40
