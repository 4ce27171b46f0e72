#include "chords/chord_text.h"

#include "keys/key_words.h"
#include "log/text_format.h"

namespace qp40 {

namespace {

constexpr std::string_view kRightArrow = "\xE2\x86\x92";
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kJoin = " + ";
constexpr std::string_view kNoModifiers = "   ";

// A modifier is listed when its left-hand or its right-hand bit is set.
struct ListedModifier {
  std::uint8_t bits;
  std::string_view text;
};
constexpr std::array<ListedModifier, 4> kListedModifiers = {{
    {0x01 | 0x10, " Ctrl "},
    {0x02 | 0x20, " Shift "},
    {0x04 | 0x40, " Alt "},
    {0x08, " Window "},
}};

bool HasSixthOutput(const ChordRecord& record) {
  return (record[kChordModifiers] & kChordSixthKeyFlag) != 0;
}

std::uint8_t SixthOutputCode(const ChordRecord& record) {
  return record[kChordModifiers] & kChordSixthKeyMask;
}

void AppendRecordLine(std::string& text, std::size_t number, const ChordRecord& record) {
  text += FormatText("No.%2d :  ", static_cast<int>(number));
  text += ChordKeyName(record[kChordFirstKey]);

  if (const std::string_view second = ChordKeyName(record[kChordSecondKey]); !second.empty()) {
    text.append(" ").append(second).append(kRightArrow).append(" ");
  }

  if (HasSixthOutput(record)) {
    text += kNoModifiers;
  } else {
    for (const ListedModifier& modifier : kListedModifiers) {
      if ((record[kChordModifiers] & modifier.bits) != 0) {
        text += modifier.text;
      }
    }
  }

  for (std::size_t i = 0; i < kChordOutputCount; ++i) {
    if (const std::string_view name = ChordKeyName(record[kChordFirstOutput + i]); !name.empty()) {
      text.append(kJoin).append(name);
    }
  }
  if (HasSixthOutput(record)) {
    if (const std::string_view name = ChordKeyName(SixthOutputCode(record)); !name.empty()) {
      text.append(kJoin).append(name);
    }
  }
  text += kLineEnd;
}

}  // namespace

std::string_view ChordKeyName(std::uint8_t code) {
  if (code == 0) {
    return {};
  }
  return CodeToName(code, {});
}

std::string ChordListText(const ChordTable& table) {
  std::string text;
  for (std::size_t i = 0; i < table.size(); ++i) {
    AppendRecordLine(text, i + 1, table[i]);
  }
  return text;
}

ChordFieldTexts ChordFields(const ChordRecord& record) {
  ChordFieldTexts fields;
  if (HasSixthOutput(record)) {
    fields.sixth_output = ChordKeyName(SixthOutputCode(record));
  } else {
    std::array<bool, kChordModifierBoxes> boxes{};
    for (std::size_t bit = 0; bit < boxes.size(); ++bit) {
      boxes[bit] = (record[kChordModifiers] & (1u << bit)) != 0;
    }
    fields.modifier_boxes = boxes;
  }
  fields.first_key = ChordKeyName(record[kChordFirstKey]);
  fields.second_key = ChordKeyName(record[kChordSecondKey]);
  for (std::size_t i = 0; i < kChordOutputCount; ++i) {
    fields.outputs[i] = ChordKeyName(record[kChordFirstOutput + i]);
  }
  return fields;
}

}  // namespace qp40
