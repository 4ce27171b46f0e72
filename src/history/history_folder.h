#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "history/snapshot_store.h"

namespace qp40 {

// Reads one environment variable; nothing when it is not set or empty.
using EnvironmentLookup = std::function<std::optional<std::string>(std::string_view name)>;

// The process's own environment.
std::optional<std::string> ProcessEnvironment(std::string_view name);

// The folder that keeps the history of every keypad: qp40/history in the user's data folder
// ($XDG_DATA_HOME, else ~/.local/share; %LOCALAPPDATA% on Windows). Nothing when none is known.
std::optional<std::filesystem::path> HistoryRoot(const EnvironmentLookup& environment);

// The folder of one keypad's history under `root`, named by its identity: the identity's hex
// digits alone, so every keypad gets a folder of its own and no identity can name another path.
std::filesystem::path KeypadHistoryFolder(const std::filesystem::path& root,
                                          std::string_view identity_hex);

// The bounds of each keypad's history: QP40_HISTORY_SNAPSHOTS (a count) and QP40_HISTORY_MB
// (megabytes) change the defaults; a value that is no positive number is ignored.
HistoryLimits HistoryLimitsFrom(const EnvironmentLookup& environment);

}  // namespace qp40
