#include "files/file_replace.h"

#include <fstream>
#include <optional>
#include <string>
#include <system_error>

namespace qp40 {
namespace {

namespace fs = std::filesystem;

// Temporary names tried beside the target: "name.tmp", "name.tmp1", ... .
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

bool WriteWhole(const fs::path& path, std::span<const std::uint8_t> bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) {
    return false;
  }
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  out.flush();
  out.close();
  return !out.fail();
}

}  // namespace

bool ReplaceFileContents(const fs::path& path, std::span<const std::uint8_t> bytes) {
  std::error_code error;
  fs::path target = path;
  if (fs::is_symlink(fs::symlink_status(path, error))) {
    target = fs::weakly_canonical(path, error);
    if (error) {
      return false;
    }
  }
  const fs::file_status old_status = fs::status(target, error);
  if (fs::exists(old_status) && !fs::is_regular_file(old_status)) {
    return false;
  }
  // The rename below needs only the folder to be writable; a write-protected file is refused
  // as opening it for writing would be. Opening to append changes nothing in it.
  if (fs::exists(old_status) && !std::ofstream(target, std::ios::binary | std::ios::app)) {
    return false;
  }

  const std::optional<fs::path> temporary = FreeTemporaryName(target);
  if (!temporary) {
    return false;
  }
  if (!WriteWhole(*temporary, bytes)) {
    fs::remove(*temporary, error);
    return false;
  }
  if (fs::exists(old_status)) {
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

}  // namespace qp40
