#include "model/slot_check.h"

#include <string>

namespace qp40 {

void LogKeysWithoutSlot(const KeyCodeMap& map, Log& log) {
  if (const std::size_t count = KeysWithoutSlot(map); count != 0) {
    log.AppendLog(">> Error: " + std::to_string(count) + " keys have no slot in the Key Code Map");
  }
}

}  // namespace qp40
