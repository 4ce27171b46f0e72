#include "app/ctl/display_text.h"

namespace qp40::ctl {
namespace {

void AppendLatin1(std::string& out, unsigned char byte) {
  if (byte < 0x80) {
    out.push_back(static_cast<char>(byte));
  } else {
    out.push_back(static_cast<char>(0xC0 | (byte >> 6)));
    out.push_back(static_cast<char>(0x80 | (byte & 0x3F)));
  }
}

}  // namespace

std::string TerminalText(std::string_view latin1) {
  std::string out;
  out.reserve(latin1.size());
  for (const char c : latin1) {
    const auto byte = static_cast<unsigned char>(c);
    // Latin-1 0x80..0x9F are the C1 controls: U+0085 breaks a line for some readers and U+009B
    // starts a terminal escape sequence.
    if (byte < 0x20 || (byte >= 0x7F && byte <= 0x9F)) {
      out.push_back('?');
    } else {
      AppendLatin1(out, byte);
    }
  }
  return out;
}

std::string Latin1ToUtf8(std::string_view latin1) {
  std::string out;
  out.reserve(latin1.size());
  for (const char c : latin1) AppendLatin1(out, static_cast<unsigned char>(c));
  return out;
}

std::string PaddedTerminalText(std::string_view latin1, std::size_t width) {
  std::string padded(latin1);
  if (padded.size() < width) padded.append(width - padded.size(), ' ');
  return TerminalText(padded);
}

}  // namespace qp40::ctl
