#include "ui/main/picture_choice.h"

#include <QFileInfo>

namespace qp40 {

std::optional<PictureFormat> PictureFormatOf(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == QLatin1String("svg")) return PictureFormat::kSvg;
  if (suffix == QLatin1String("pdf")) return PictureFormat::kPdf;
  if (suffix == QLatin1String("png")) return PictureFormat::kPng;
  return std::nullopt;
}

CheatSheetOptions SheetOptions(const PictureChoice& choice) {
  CheatSheetOptions options;
  options.profile = choice.profile;
  options.appendix = choice.appendix;
  return options;
}

}  // namespace qp40
