#include "chords/chord_table.h"

namespace qp40 {

bool CutChord(ChordTable& table, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= table.size()) {
    return false;
  }
  table[static_cast<std::size_t>(index)].fill(0);
  return true;
}

}  // namespace qp40
