#pragma once

#include <QImage>
#include <QString>
#include <string>

#include "model/configuration.h"
#include "picture/cheat_sheet.h"
#include "ui/main/picture_choice.h"

namespace qp40 {

// A PNG picture is drawn at this many pixels per unit of the sheet: twice the screen's scale.
inline constexpr int kPngScale = 2;

enum class PictureFileStatus {
  kWritten,
  kNotDrawn,    // Qt could not draw the sheet (no file was touched)
  kNotWritten,  // the file could not be written; an old file of that name is kept as it was
};

// Writes the picture of the chosen profiles to `path` in `format`: the renderer's SVG text as it
// is, the pages of PicturePages as PDF, or the whole sheet as PNG at kPngScale. Every format goes
// through the safe file replace, so a failed write leaves no new file and keeps an old one.
PictureFileStatus WritePictureFile(const QString& path, PictureFormat format,
                                   const Configuration& config, const CheatSheetExtras& extras,
                                   const PictureChoice& choice);

// The sheet drawn on white at `scale` pixels per unit; a null image when the SVG cannot be read.
QImage DrawSheet(const std::string& svg, int scale);

}  // namespace qp40
