#pragma once

#include <QString>
#include <filesystem>
#include <string>

namespace qp40 {

// The name of a file the user chose, as the core's file functions take it: UTF-8 text on
// Windows, where the narrow code page cannot hold every letter, and the name's own bytes in the
// locale's encoding elsewhere.
std::string FileNameText(const QString& name);
std::filesystem::path FilePath(const QString& name);

}  // namespace qp40
