#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <system_error>

namespace qp40::testing {

// True when a file marked read-only can still be opened for writing by this process: root on
// POSIX systems, and Wine run by root. Found out by trying, on a file of its own.
inline bool WritesEveryFile() {
  namespace fs = std::filesystem;
  std::random_device random;
  const fs::path probe = fs::temp_directory_path() /
                         ("qp40-rights-" + std::to_string(random()) + std::to_string(random()));
  std::ofstream(probe, std::ios::binary).put('x');
  std::error_code error;
  fs::permissions(probe, fs::perms::owner_read, error);
  const bool writes = !error && std::ofstream(probe, std::ios::binary | std::ios::app).is_open();
  fs::permissions(probe, fs::perms::owner_read | fs::perms::owner_write, error);
  fs::remove(probe, error);
  return writes;
}

// Windows keeps no owner, group and other bits (a file is read-only or not), and symbolic links
// need rights of their own there.
#ifdef _WIN32
inline constexpr bool kPosixPermissions = false;
#else
inline constexpr bool kPosixPermissions = true;
#endif

}  // namespace qp40::testing
