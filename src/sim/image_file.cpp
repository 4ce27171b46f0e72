#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "files/file_replace.h"
#include "files/utf8_path.h"
#include "sim/virtual_keypad.h"

namespace qp40::sim {

bool VirtualKeypad::LoadImage(const std::string& path) {
  std::ifstream file(PathFromUtf8(path), std::ios::binary);
  if (!file) {
    return false;
  }
  // Read one byte more than an image holds, so a longer file is told apart from a whole one.
  std::vector<std::uint8_t> data(kImageSize + 1);
  file.read(reinterpret_cast<char*>(data.data()), static_cast<std::streamsize>(data.size()));
  if (file.bad() || static_cast<std::size_t>(file.gcount()) != kImageSize) {
    return false;
  }
  std::copy(data.begin(), data.begin() + kImageSize, memory_.begin());
  return true;
}

// The memory replaces the file through a temporary file beside it, so a write that fails
// half-way leaves the previous image whole.
bool VirtualKeypad::SaveImage(const std::string& path) const {
  return ReplaceFileContents(PathFromUtf8(path), memory_);
}

}  // namespace qp40::sim
