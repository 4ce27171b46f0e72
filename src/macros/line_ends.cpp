#include "macros/line_ends.h"

namespace qp40 {

std::string NormaliseLineEnds(std::string_view text) {
  std::string normalised;
  normalised.reserve(text.size() + text.size() / 16);
  char previous = '\0';
  for (char c : text) {
    if (c == '\n' && previous != '\r') {
      normalised += '\r';
    }
    normalised += c;
    previous = c;
  }
  return normalised;
}

}  // namespace qp40
