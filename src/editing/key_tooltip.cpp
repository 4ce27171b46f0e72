#include "editing/key_tooltip.h"

#include "editing/keypad_text.h"
#include "keys/key_label.h"
#include "log/text_format.h"
#include "macros/burst_store.h"
#include "macros/string_store.h"

namespace qp40 {

std::string KeyTooltipText(const Configuration& config, const KeyActionRecord& record) {
  std::string label;
  switch (KeyLabelClass(record[0])) {
    case kTypeBurst:
      label = ReadBurstText(config.burst_table, record[3]);
      break;
    case kTypeString:
      // A string of the chained layout is read whole; one of the older layout shows the text of
      // its first unit (a long one lives on the keypad).
      if (StringFormatOf(config) == StringFormat::kChained) {
        label = ReadChainedString(config.string_unit_table, record[3]).value_or(std::string());
      } else {
        label = FullKeyLabel(record, config.burst_table, config.string_unit_table)
                    .substr(0, kCharsPerUnit);
      }
      break;
    default:
      label = FullKeyLabel(record, config.burst_table, config.string_unit_table);
      break;
  }
  return Utf8FromKeypadBytes(label) +
         FormatText("\nRecord: %02x %02x %02x %02x", record[0], record[1], record[2], record[3]);
}

}  // namespace qp40
