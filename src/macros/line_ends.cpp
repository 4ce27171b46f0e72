#include "macros/line_ends.h"

namespace qp40 {

namespace {

constexpr char kCarriageReturn = '\r';
constexpr char kLineFeed = '\n';
constexpr std::string_view kCrLf = "\r\n";

}  // namespace

std::string NormaliseLineEnds(std::string_view text) {
  std::string normalised;
  normalised.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const bool has_next = i + 1 < text.size();
    if (c == kCarriageReturn && has_next && text[i + 1] == kLineFeed) {
      normalised += kCrLf;
      ++i;
    } else if (c == kLineFeed) {
      // LF CR, written by some editors, is one line end like a lone LF.
      if (has_next && text[i + 1] == kCarriageReturn) {
        ++i;
      }
      normalised += kCrLf;
    } else {
      normalised += c;
    }
  }
  return normalised;
}

}  // namespace qp40
