#pragma once

#include <QByteArray>
#include <QPageLayout>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <vector>

#include "model/configuration.h"
#include "picture/cheat_sheet.h"
#include "ui/main/picture_choice.h"

class QPagedPaintDevice;

namespace qp40 {

// The paper of a choice: landscape, with a margin of 10 mm.
QPageLayout PicturePageLayout(PaperSize paper);

// The pages of a cheat sheet on paper, drawn from the renderer's SVG through Qt SVG, so a PDF
// file and a printout show the same drawing: each profile with its legend on a page of its own,
// or the four profiles in two rows with one legend on one page; then the appendix at the width
// of the page, broken between its lines onto as many pages as it takes.
class PicturePages {
 public:
  PicturePages(const Configuration& config, const CheatSheetExtras& extras,
               const PictureChoice& choice, const QPageLayout& layout);

  int PageCount() const { return static_cast<int>(pages_.size()); }
  // Paints every page on `device`, whose page layout should be the one given above; false when
  // the device cannot be painted on or takes no further page.
  bool Paint(QPagedPaintDevice& device) const;

 private:
  // A band of one sheet placed on a page; positions in the sheet's own units.
  struct Piece {
    int sheet = 0;
    QRectF source;
    QPointF at;
  };
  struct Page {
    QSizeF size;  // the area the pieces cover, fitted into the page's paint area
    std::vector<Piece> pieces;
  };

  int AddSheet(const Configuration& config, const CheatSheetExtras& extras,
               const CheatSheetOptions& options);
  void AddProfilePages(const Configuration& config, const CheatSheetExtras& extras,
                       const PictureChoice& choice);
  void AddAllOnOnePage(const Configuration& config, const CheatSheetExtras& extras);
  void AddAppendixPages(const Configuration& config, const CheatSheetExtras& extras,
                        const PictureChoice& choice, double page_aspect);

  std::vector<QByteArray> sheets_;
  std::vector<Page> pages_;
};

}  // namespace qp40
