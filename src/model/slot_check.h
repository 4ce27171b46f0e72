#pragma once

#include "log/log.h"
#include "model/configuration.h"

namespace qp40 {

// Logs ">> Error: N keys have no slot in the Key Code Map" when a freshly read map names codes
// above 0x7F, so the user knows why those keys show empty and are not saved.
void LogKeysWithoutSlot(const KeyCodeMap& map, Log& log);

}  // namespace qp40
