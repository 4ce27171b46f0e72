#include "ui/main/picture_pages.h"

#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QSvgRenderer>
#include <algorithm>
#include <memory>
#include <string>

#include "ui/main/sheet_bands.h"

namespace qp40 {
namespace {

constexpr double kMarginMm = 10;
// Room kept around a band, in sheet units, so that no stroke or descender is cut off.
constexpr double kBandPadding = 4;
// The gap between the profiles of the one-page layout, in sheet units.
constexpr double kProfileGap = 24;
constexpr int kProfiles = 4;

QByteArray Bytes(const std::string& text) {
  return {text.data(), static_cast<qsizetype>(text.size())};
}

// The band with its padding, across the sheet's whole width.
QRectF Source(const SheetBands& bands, const Band& band) {
  const double top = std::max(0.0, band.top - kBandPadding);
  const double bottom = std::min(bands.height, band.bottom + kBandPadding);
  return {0, top, bands.width, std::max(0.0, bottom - top)};
}

}  // namespace

QPageLayout PicturePageLayout(PaperSize paper) {
  const QPageSize size(paper == PaperSize::kA4 ? QPageSize::A4 : QPageSize::Letter);
  return {size, QPageLayout::Landscape, QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm),
          QPageLayout::Millimeter};
}

PicturePages::PicturePages(const Configuration& config, const CheatSheetExtras& extras,
                           const PictureChoice& choice, const QPageLayout& layout) {
  if (choice.layout == PageLayout::kAllOnOnePage && !choice.profile) {
    AddAllOnOnePage(config, extras);
  } else {
    AddProfilePages(config, extras, choice);
  }
  if (choice.appendix == Appendix::kShown) {
    const QRectF paper = layout.paintRect(QPageLayout::Millimeter);
    AddAppendixPages(config, extras, choice, paper.height() / paper.width());
  }
}

int PicturePages::AddSheet(const Configuration& config, const CheatSheetExtras& extras,
                           const CheatSheetOptions& options) {
  sheets_.push_back(Bytes(RenderCheatSheet(config, extras, options)));
  return static_cast<int>(sheets_.size()) - 1;
}

void PicturePages::AddProfilePages(const Configuration& config, const CheatSheetExtras& extras,
                                   const PictureChoice& choice) {
  CheatSheetOptions options = SheetOptions(choice);
  options.appendix = Appendix::kLeftOut;
  for (const std::uint8_t profile : ChosenProfiles(options)) {
    CheatSheetOptions one = options;
    one.profile = profile;
    const int sheet = AddSheet(config, extras, one);
    const SheetBands bands = ReadSheetBands(sheets_[static_cast<std::size_t>(sheet)]);
    const QRectF whole(0, 0, bands.width, bands.height);
    pages_.push_back({whole.size(), {{sheet, whole, {0, 0}}}});
  }
}

void PicturePages::AddAllOnOnePage(const Configuration& config, const CheatSheetExtras& extras) {
  CheatSheetOptions options;
  options.appendix = Appendix::kLeftOut;
  const int sheet = AddSheet(config, extras, options);
  const SheetBands bands = ReadSheetBands(sheets_[static_cast<std::size_t>(sheet)]);
  std::vector<QRectF> profiles;
  double cell_height = 0;
  for (int profile = 1; profile <= kProfiles; ++profile) {
    const auto part = bands.parts.find(QStringLiteral("profile-%1").arg(profile));
    if (part == bands.parts.end()) continue;
    profiles.push_back(Source(bands, part->second));
    cell_height = std::max(cell_height, profiles.back().height());
  }
  Page page;
  // Two profiles a row: 1 and 2 above, 3 and 4 below.
  for (std::size_t i = 0; i < profiles.size(); ++i) {
    const std::size_t row = i / 2;
    const std::size_t column = i % 2;
    const QPointF at(static_cast<double>(column) * (bands.width + kProfileGap),
                     static_cast<double>(row) * (cell_height + kProfileGap));
    page.pieces.push_back({sheet, profiles[i], at});
  }
  const std::size_t rows = (profiles.size() + 1) / 2;
  double height = static_cast<double>(rows) * (cell_height + kProfileGap);
  if (const auto legend = bands.parts.find(QStringLiteral("legend")); legend != bands.parts.end()) {
    const QRectF source = Source(bands, legend->second);
    page.pieces.push_back({sheet, source, {0, height}});
    height += source.height();
  }
  page.size = QSizeF(2 * bands.width + kProfileGap, height);
  pages_.push_back(page);
}

void PicturePages::AddAppendixPages(const Configuration& config, const CheatSheetExtras& extras,
                                    const PictureChoice& choice, double page_aspect) {
  const int sheet = AddSheet(config, extras, SheetOptions(choice));
  const SheetBands bands = ReadSheetBands(sheets_[static_cast<std::size_t>(sheet)]);
  const std::vector<Band>& lines = bands.appendix_lines;
  // An appendix with nothing but its heading gets no page.
  if (lines.size() < 2) return;
  // The appendix keeps the sheet's width across the page; the page takes this much of its height.
  const double page_height = bands.width * page_aspect;
  for (const Band& slice : PageSlices(lines, page_height, kBandPadding)) {
    const QRectF source(0, slice.top, bands.width, slice.Height());
    pages_.push_back({QSizeF(bands.width, page_height), {{sheet, source, {0, 0}}}});
  }
}

bool PicturePages::Paint(QPagedPaintDevice& device) const {
  std::vector<std::unique_ptr<QSvgRenderer>> renderers;
  for (const QByteArray& sheet : sheets_) {
    renderers.push_back(std::make_unique<QSvgRenderer>(sheet));
  }
  QPainter painter;
  if (!painter.begin(&device)) return false;
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF area(0, 0, device.width(), device.height());
  for (std::size_t index = 0; index < pages_.size(); ++index) {
    if (index > 0 && !device.newPage()) return false;
    const Page& page = pages_[index];
    if (page.size.isEmpty()) continue;
    // Fitted into the paint area, at the top and centred across it.
    const double scale =
        std::min(area.width() / page.size.width(), area.height() / page.size.height());
    const double left = (area.width() - page.size.width() * scale) / 2;
    for (const Piece& piece : page.pieces) {
      QSvgRenderer& renderer = *renderers[static_cast<std::size_t>(piece.sheet)];
      const QRectF target(left + piece.at.x() * scale, piece.at.y() * scale,
                          piece.source.width() * scale, piece.source.height() * scale);
      painter.save();
      painter.setClipRect(target);
      painter.translate(target.topLeft());
      painter.scale(scale, scale);
      painter.translate(-piece.source.topLeft());
      renderer.render(&painter, QRectF(QPointF(0, 0), renderer.viewBoxF().size()));
      painter.restore();
    }
  }
  return painter.end();
}

}  // namespace qp40
