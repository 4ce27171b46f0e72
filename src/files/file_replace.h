#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

namespace qp40 {

// Writes `bytes` as the whole content of the file at `path`, replacing any file of that name.
// The bytes go to a temporary file beside it first, which is then renamed over the old one, so
// a write that fails half-way leaves the old file as it was. True when the new file is in place;
// false (and no temporary file left behind) otherwise, also when the old file may not be written.
// A symbolic link is followed: the file it points to is replaced. The new file keeps the
// permissions of the one it replaces.
bool ReplaceFileContents(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

}  // namespace qp40
