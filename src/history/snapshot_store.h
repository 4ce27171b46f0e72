#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qp40 {

// Why a snapshot was kept.
enum class SnapshotEvent {
  kLoad,                  // read from the keypad
  kBeforeSave,            // what the keypad held just before a save
  kSave,                  // what the keypad holds after a save
  kImport,                // a layout file was put into the configuration
  kBeforeFactoryRestore,  // what the keypad held before it went back to its factory settings
};

// "load", "before save", "save", "import", "before factory restore".
std::string_view SnapshotEventText(SnapshotEvent event);

struct Snapshot {
  int number = 0;  // 1 for the first one ever kept in the folder, counting on
  std::filesystem::path path;
  std::string time;  // "2026-12-11 15:21:05 UTC"
  SnapshotEvent event = SnapshotEvent::kLoad;
  std::uintmax_t size = 0;
};

// How much history one keypad keeps; the oldest snapshots go first.
struct HistoryLimits {
  std::size_t snapshots = 200;
  std::uintmax_t bytes = std::uintmax_t{50} * 1024 * 1024;
};

enum class KeepStatus {
  kKept,
  kSameAsLast,  // the newest snapshot holds the same text: nothing was written
  kFailed,      // the folder or the file could not be written; nothing half-written is left
};

// One keypad's history: layout files in a folder of their own, one per snapshot, each written
// through the safe file replace. The names carry the number, the time and the event
// ("000012-20261211-152105-save.qp40.json"), so the folder lists in order without an index that
// could go stale.
class SnapshotStore {
 public:
  explicit SnapshotStore(std::filesystem::path folder, HistoryLimits limits = {});

  const std::filesystem::path& Folder() const { return folder_; }

  // Keeps `layout_text` as the newest snapshot, then prunes the oldest beyond the limits. Nothing
  // is kept when the text equals the newest snapshot (for what the keypad holds: the newest one
  // that is no import).
  KeepStatus Keep(SnapshotEvent event, std::string_view layout_text,
                  std::chrono::system_clock::time_point when);

  // The snapshots, oldest first; files of other names are left out.
  std::vector<Snapshot> List() const;

  // The text of a snapshot; nothing when it cannot be read or is larger than a layout file can be.
  std::optional<std::string> Read(const Snapshot& snapshot) const;

 private:
  void Prune();

  std::filesystem::path folder_;
  HistoryLimits limits_;
};

}  // namespace qp40
