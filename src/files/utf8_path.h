#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace qp40 {

// The file names the programs take and show are UTF-8 text. A path built straight from such a
// std::string reads it in the system's narrow code page on Windows, which garbles every
// non-ASCII letter; these two convert through UTF-8 on every system.
std::filesystem::path PathFromUtf8(std::string_view text);
std::string Utf8FromPath(const std::filesystem::path& path);

}  // namespace qp40
