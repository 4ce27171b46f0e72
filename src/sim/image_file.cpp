#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "sim/virtual_keypad.h"

namespace qp40::sim {
namespace {

namespace fs = std::filesystem;

// Temporary names tried beside the image: "name.tmp", "name.tmp1", ... .
constexpr int kTemporaryNameTries = 100;

std::optional<fs::path> FreeTemporaryName(const fs::path& target) {
  for (int attempt = 0; attempt < kTemporaryNameTries; ++attempt) {
    fs::path candidate = target;
    candidate += attempt == 0 ? std::string(".tmp") : ".tmp" + std::to_string(attempt);
    std::error_code error;
    if (!fs::exists(fs::symlink_status(candidate, error))) {
      return candidate;
    }
  }
  return std::nullopt;
}

}  // namespace

bool VirtualKeypad::LoadImage(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
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

// The memory goes to a temporary file beside the image, which is then renamed over it: a write
// that fails half-way leaves the previous image whole.
bool VirtualKeypad::SaveImage(const std::string& path) const {
  std::error_code error;
  // Through a symbolic link, the file it points to is replaced and the link stays.
  fs::path target = path;
  if (fs::is_symlink(fs::symlink_status(target, error))) {
    target = fs::weakly_canonical(target, error);
    if (error) {
      return false;
    }
  }
  const fs::file_status old_status = fs::status(target, error);
  const bool replacing = fs::exists(old_status);
  // A write-protected image is refused as opening it for writing would be; appending nothing
  // leaves it as it is.
  if (replacing && (!fs::is_regular_file(old_status) ||
                    !std::ofstream(target, std::ios::binary | std::ios::app))) {
    return false;
  }

  const std::optional<fs::path> temporary = FreeTemporaryName(target);
  if (!temporary) {
    return false;
  }
  std::ofstream file(*temporary, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(memory_.data()),
             static_cast<std::streamsize>(memory_.size()));
  file.close();
  if (file.fail()) {
    fs::remove(*temporary, error);
    return false;
  }
  if (replacing) {
    fs::permissions(*temporary, old_status.permissions(), error);
  }
  fs::rename(*temporary, target, error);
  if (error) {
    std::error_code ignored;
    fs::remove(*temporary, ignored);
    return false;
  }
  return true;
}

}  // namespace qp40::sim
