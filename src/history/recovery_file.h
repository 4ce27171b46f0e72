#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace qp40 {

// The layout file that keeps one window's unsaved edits beside the keypad's snapshots,
// "recovery-1234.qp40.json": named by the process id, so two windows on the same keypad never
// write each other's file.
std::filesystem::path RecoveryFilePath(const std::filesystem::path& folder,
                                       std::int64_t process_id);

struct RecoveryFile {
  std::filesystem::path path;
  std::int64_t process_id = 0;
};

// The recovery files in `folder`, by process id; files of other names are left out.
std::vector<RecoveryFile> RecoveryFiles(const std::filesystem::path& folder);

}  // namespace qp40
