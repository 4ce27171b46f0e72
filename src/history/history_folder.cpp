#include "history/history_folder.h"

#include <cctype>
#include <charconv>
#include <cstdlib>

namespace qp40 {

std::optional<std::string> ProcessEnvironment(std::string_view name) {
  const std::string key(name);
  const char* value = std::getenv(key.c_str());  // NOLINT(concurrency-mt-unsafe): read at start-up
  if (value == nullptr || *value == '\0') return std::nullopt;
  return std::string(value);
}

std::optional<std::filesystem::path> HistoryRoot(const EnvironmentLookup& environment) {
  std::optional<std::filesystem::path> data;
#ifdef _WIN32
  if (auto local = environment("LOCALAPPDATA")) data = std::filesystem::path(*local);
#else
  if (auto xdg = environment("XDG_DATA_HOME")) {
    data = std::filesystem::path(*xdg);
  } else if (auto home = environment("HOME")) {
    data = std::filesystem::path(*home) / ".local" / "share";
  }
#endif
  if (!data) return std::nullopt;
  return *data / "qp40" / "history";
}

std::filesystem::path KeypadHistoryFolder(const std::filesystem::path& root,
                                          std::string_view identity_hex) {
  std::string name;
  for (const char c : identity_hex) {
    if (std::isxdigit(static_cast<unsigned char>(c)) != 0) {
      name += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
  }
  if (name.empty()) name = "unknown";
  return root / name;
}

namespace {

// A positive whole number read from the whole of `text`.
std::optional<std::uintmax_t> PositiveNumber(const std::optional<std::string>& text) {
  if (!text) return std::nullopt;
  std::uintmax_t value = 0;
  const char* end = text->data() + text->size();
  const auto [stop, error] = std::from_chars(text->data(), end, value);
  if (error != std::errc() || stop != end || value == 0) return std::nullopt;
  return value;
}

}  // namespace

HistoryLimits HistoryLimitsFrom(const EnvironmentLookup& environment) {
  HistoryLimits limits;
  if (auto count = PositiveNumber(environment("QP40_HISTORY_SNAPSHOTS"))) {
    limits.snapshots = static_cast<std::size_t>(*count);
  }
  constexpr std::uintmax_t kMegabyte = std::uintmax_t{1024} * 1024;
  if (auto megabytes = PositiveNumber(environment("QP40_HISTORY_MB"))) {
    if (*megabytes <= UINTMAX_MAX / kMegabyte) limits.bytes = *megabytes * kMegabyte;
  }
  return limits;
}

}  // namespace qp40
