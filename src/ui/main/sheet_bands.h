#pragma once

#include <QByteArray>
#include <QString>
#include <map>
#include <vector>

namespace qp40 {

// A stretch of a sheet from top to bottom, in the sheet's own units.
struct Band {
  double top = 0;
  double bottom = 0;
  double Height() const { return bottom - top; }
};

// Where the parts of a cheat sheet lie, read from its SVG: the size, the band of each named
// top-level part ("profile-1", "legend", "appendix", ...) and the band of every text line of
// the appendix, in order. Pages are cut between those lines, never through one.
struct SheetBands {
  double width = 0;
  double height = 0;
  std::map<QString, Band> parts;
  std::vector<Band> appendix_lines;
};

// Reads the bands of a sheet the renderer wrote; a sheet it cannot read gives no parts.
SheetBands ReadSheetBands(const QByteArray& svg);

// Cuts text lines (in order, top to bottom) into slices of at most `page_height`, each holding
// whole lines with `padding` around them, but never reaching into a line of another slice. A
// line taller than a page gets a slice of its own, cut at the page's height.
std::vector<Band> PageSlices(const std::vector<Band>& lines, double page_height, double padding);

}  // namespace qp40
