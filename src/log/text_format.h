#pragma once

#include <array>
#include <cstdio>
#include <string>

namespace qp40 {

// printf-style formatting into a string of whatever length the text needs: the one formatter
// for the log lines, messages and listings of every layer. Never cuts a text; an encoding error
// gives the empty text.
template <typename... Args>
std::string FormatText(const char* format, Args... args) {
  // Nearly every text fits here, so it is formatted once; a longer one is formatted again into
  // a string of its own length.
  std::array<char, 128> buffer;
  const int length = std::snprintf(buffer.data(), buffer.size(), format, args...);
  if (length <= 0) {
    return {};
  }
  const auto size = static_cast<std::size_t>(length);
  if (size < buffer.size()) {
    return std::string(buffer.data(), size);
  }
  std::string text(size + 1, '\0');
  if (std::snprintf(text.data(), text.size(), format, args...) != length) {
    return {};
  }
  text.resize(size);
  return text;
}

}  // namespace qp40
