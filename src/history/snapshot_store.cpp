#include "history/snapshot_store.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <fstream>
#include <span>
#include <system_error>
#include <utility>

#include "files/file_replace.h"
#include "layout/layout_file.h"

namespace qp40 {
namespace {

constexpr std::string_view kSuffix = ".qp40.json";
constexpr std::size_t kNumberDigits = 6;
constexpr std::size_t kDateDigits = 8;
constexpr std::size_t kClockDigits = 6;

struct EventName {
  SnapshotEvent event;
  std::string_view file;  // in file names
  std::string_view text;  // for people
};
constexpr std::array kEventNames = {
    EventName{SnapshotEvent::kLoad, "load", "load"},
    EventName{SnapshotEvent::kBeforeSave, "before-save", "before save"},
    EventName{SnapshotEvent::kSave, "save", "save"},
    EventName{SnapshotEvent::kImport, "import", "import"},
    EventName{SnapshotEvent::kBeforeFactoryRestore, "before-factory-restore",
              "before factory restore"},
};

const EventName& NameOf(SnapshotEvent event) {
  for (const EventName& name : kEventNames) {
    if (name.event == event) return name;
  }
  return kEventNames[0];
}

std::string Digits(long long value, std::size_t width) {
  std::string text = std::to_string(value);
  if (text.size() < width) text.insert(0, width - text.size(), '0');
  return text;
}

// "20261211-152105" in UTC.
std::string Stamp(std::chrono::system_clock::time_point when) {
  const auto seconds = std::chrono::floor<std::chrono::seconds>(when);
  const auto days = std::chrono::floor<std::chrono::days>(seconds);
  const std::chrono::year_month_day date(days);
  const std::chrono::hh_mm_ss clock(seconds - days);
  return Digits(static_cast<int>(date.year()), 4) + Digits(static_cast<unsigned>(date.month()), 2) +
         Digits(static_cast<unsigned>(date.day()), 2) + "-" + Digits(clock.hours().count(), 2) +
         Digits(clock.minutes().count(), 2) + Digits(clock.seconds().count(), 2);
}

bool AllDigits(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The snapshot a file name stands for; nothing for any other name.
std::optional<Snapshot> FromName(const std::filesystem::path& path) {
  const std::string name = path.filename().string();
  if (!name.ends_with(kSuffix)) return std::nullopt;
  const std::string_view stem = std::string_view(name).substr(0, name.size() - kSuffix.size());
  // NNNNNN-YYYYMMDD-HHMMSS-event
  const std::size_t event_at = kNumberDigits + 1 + kDateDigits + 1 + kClockDigits + 1;
  if (stem.size() <= event_at || stem[kNumberDigits] != '-' ||
      stem[kNumberDigits + 1 + kDateDigits] != '-' || stem[event_at - 1] != '-') {
    return std::nullopt;
  }
  const std::string_view number = stem.substr(0, kNumberDigits);
  const std::string_view date = stem.substr(kNumberDigits + 1, kDateDigits);
  const std::string_view clock = stem.substr(kNumberDigits + 1 + kDateDigits + 1, kClockDigits);
  if (!AllDigits(number) || !AllDigits(date) || !AllDigits(clock)) return std::nullopt;
  const std::string_view event = stem.substr(event_at);
  const auto known = std::find_if(kEventNames.begin(), kEventNames.end(),
                                  [event](const EventName& e) { return e.file == event; });
  if (known == kEventNames.end()) return std::nullopt;
  Snapshot snapshot;
  std::from_chars(number.data(), number.data() + number.size(), snapshot.number);
  snapshot.path = path;
  snapshot.event = known->event;
  snapshot.time = std::string(date.substr(0, 4)) + "-" + std::string(date.substr(4, 2)) + "-" +
                  std::string(date.substr(6, 2)) + " " + std::string(clock.substr(0, 2)) + ":" +
                  std::string(clock.substr(2, 2)) + ":" + std::string(clock.substr(4, 2)) + " UTC";
  return snapshot;
}

}  // namespace

std::string_view SnapshotEventText(SnapshotEvent event) { return NameOf(event).text; }

SnapshotStore::SnapshotStore(std::filesystem::path folder, HistoryLimits limits)
    : folder_(std::move(folder)), limits_(limits) {}

std::vector<Snapshot> SnapshotStore::List() const {
  std::vector<Snapshot> snapshots;
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder_, error), end; !error && it != end;
       it.increment(error)) {
    if (!it->is_regular_file(error)) continue;
    if (auto snapshot = FromName(it->path())) {
      snapshot->size = it->file_size(error);
      snapshots.push_back(std::move(*snapshot));
    }
  }
  std::sort(snapshots.begin(), snapshots.end(),
            [](const Snapshot& a, const Snapshot& b) { return a.number < b.number; });
  return snapshots;
}

std::optional<std::string> SnapshotStore::Read(const Snapshot& snapshot) const {
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(snapshot.path, error);
  if (error || size > kMaxLayoutFileSize) return std::nullopt;
  std::ifstream in(snapshot.path, std::ios::binary);
  std::string text(static_cast<std::size_t>(size), '\0');
  if (!in.read(text.data(), static_cast<std::streamsize>(text.size()))) return std::nullopt;
  return text;
}

KeepStatus SnapshotStore::Keep(SnapshotEvent event, std::string_view layout_text,
                               std::chrono::system_clock::time_point when) {
  const std::vector<Snapshot> snapshots = List();
  // What the keypad holds is compared with what it held last, so an import in between does not
  // make the keypad's unchanged state a snapshot again.
  const auto last = std::find_if(snapshots.rbegin(), snapshots.rend(), [event](const Snapshot& s) {
    return event == SnapshotEvent::kImport || s.event != SnapshotEvent::kImport;
  });
  if (last != snapshots.rend() && Read(*last) == layout_text) return KeepStatus::kSameAsLast;
  std::error_code error;
  std::filesystem::create_directories(folder_, error);
  if (error) return KeepStatus::kFailed;
  const int number = snapshots.empty() ? 1 : snapshots.back().number + 1;
  const std::string name = Digits(number, kNumberDigits) + "-" + Stamp(when) + "-" +
                           std::string(NameOf(event).file) + std::string(kSuffix);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(layout_text.data());
  if (!ReplaceFileContents(folder_ / name, std::span(bytes, layout_text.size()))) {
    return KeepStatus::kFailed;
  }
  Prune();
  return KeepStatus::kKept;
}

void SnapshotStore::Prune() {
  std::vector<Snapshot> snapshots = List();
  std::uintmax_t total = 0;
  for (const Snapshot& snapshot : snapshots) total += snapshot.size;
  // The newest snapshot always stays.
  std::size_t oldest = 0;
  while (snapshots.size() - oldest > 1 &&
         (snapshots.size() - oldest > limits_.snapshots || total > limits_.bytes)) {
    std::error_code error;
    std::filesystem::remove(snapshots[oldest].path, error);
    total -= snapshots[oldest].size;
    ++oldest;
  }
}

}  // namespace qp40
