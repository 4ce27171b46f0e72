// Recovery files: found by their names alone, one per process, beside the snapshots.
#include "history/recovery_file.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "history/snapshot_store.h"

namespace qp40 {
namespace {

namespace fs = std::filesystem;

TEST(RecoveryFileTest, OnlyRecoveryNamesCountAndNoSnapshotIsOne) {
  const fs::path folder =
      fs::temp_directory_path() /
      ("qp40-recovery-" +
       std::to_string(std::chrono::system_clock::now().time_since_epoch().count()));
  fs::create_directories(folder);
  EXPECT_EQ(RecoveryFilePath(folder, 4321), folder / "recovery-4321.qp40.json");
  for (const char* name :
       {"recovery-4321.qp40.json", "recovery-17.qp40.json", "recovery-.qp40.json",
        "recovery-12a.qp40.json", "recovery-1234567890123456789.qp40.json", "recovery-5.json",
        "xrecovery-5.qp40.json", "000001-20261211-152105-load.qp40.json"}) {
    std::ofstream(folder / name) << "{}";
  }
  fs::create_directories(folder / "recovery-9.qp40.json.d");
  std::vector<std::int64_t> ids;
  for (const RecoveryFile& file : RecoveryFiles(folder)) ids.push_back(file.process_id);
  EXPECT_EQ(ids, (std::vector<std::int64_t>{17, 4321}));
  // The snapshots leave the recovery files out.
  EXPECT_EQ(SnapshotStore(folder).List().size(), 1U);
  EXPECT_TRUE(RecoveryFiles(folder / "missing").empty());
  fs::remove_all(folder);
}

}  // namespace
}  // namespace qp40
