#pragma once

#include <QString>
#include <cstdint>
#include <optional>

#include "picture/cheat_sheet.h"

namespace qp40 {

// The kinds of file "Export Picture…" writes; the file name's extension chooses one.
enum class PictureFormat { kSvg, kPdf, kPng };

// The format of a file name by its extension (any case); nothing for another extension.
std::optional<PictureFormat> PictureFormatOf(const QString& path);

enum class PaperSize { kA4, kLetter };

enum class PageLayout {
  kProfilePerPage,  // each profile on a page of its own
  kAllOnOnePage,    // the four profiles side by side in two rows, with one legend
};

// What the user chose in the picture options: the profiles, the pages and the appendix.
struct PictureChoice {
  // The user profile 0..3 to draw; all four when empty.
  std::optional<std::uint8_t> profile;
  PaperSize paper = PaperSize::kA4;
  PageLayout layout = PageLayout::kProfilePerPage;
  Appendix appendix = Appendix::kShown;
};

// The renderer's options for the whole sheet of a choice.
CheatSheetOptions SheetOptions(const PictureChoice& choice);

}  // namespace qp40
