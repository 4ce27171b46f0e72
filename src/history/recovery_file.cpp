#include "history/recovery_file.h"

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace qp40 {
namespace {

constexpr std::string_view kPrefix = "recovery-";
constexpr std::string_view kSuffix = ".qp40.json";
// More digits than any process id has; a longer name is no recovery file of ours.
constexpr std::size_t kMaxDigits = 18;

std::optional<std::int64_t> ProcessIdOf(std::string_view name) {
  if (name.size() <= kPrefix.size() + kSuffix.size() || !name.starts_with(kPrefix) ||
      !name.ends_with(kSuffix)) {
    return std::nullopt;
  }
  const std::string_view digits =
      name.substr(kPrefix.size(), name.size() - kPrefix.size() - kSuffix.size());
  if (digits.size() > kMaxDigits ||
      !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  std::int64_t id = 0;
  for (const char digit : digits) id = id * 10 + (digit - '0');
  return id;
}

}  // namespace

std::filesystem::path RecoveryFilePath(const std::filesystem::path& folder,
                                       std::int64_t process_id) {
  return folder / (std::string(kPrefix) + std::to_string(process_id) + std::string(kSuffix));
}

std::vector<RecoveryFile> RecoveryFiles(const std::filesystem::path& folder) {
  std::vector<RecoveryFile> files;
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
       it.increment(error)) {
    if (!it->is_regular_file(error)) continue;
    if (const auto id = ProcessIdOf(it->path().filename().string())) {
      files.push_back({it->path(), *id});
    }
  }
  std::sort(files.begin(), files.end(), [](const RecoveryFile& a, const RecoveryFile& b) {
    return a.process_id < b.process_id;
  });
  return files;
}

}  // namespace qp40
