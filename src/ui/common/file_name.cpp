#include "ui/common/file_name.h"

#include <QFile>

#include "files/utf8_path.h"

namespace qp40 {

std::string FileNameText(const QString& name) {
#ifdef _WIN32
  return name.toStdString();
#else
  return QFile::encodeName(name).toStdString();
#endif
}

std::filesystem::path FilePath(const QString& name) { return PathFromUtf8(FileNameText(name)); }

}  // namespace qp40
