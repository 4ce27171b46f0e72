#include "ui/main/sheet_bands.h"

#include <QXmlStreamReader>
#include <algorithm>

namespace qp40 {
namespace {

// A text line reaches about a font size above its baseline and a third of it below.
constexpr double kDescentPart = 1.0 / 3.0;

double Number(const QXmlStreamAttributes& attributes, const char* name) {
  return attributes.value(QLatin1String(name)).toDouble();
}

void Extend(std::map<QString, Band>& parts, const QString& part, const Band& band) {
  const auto [entry, added] = parts.emplace(part, band);
  if (added) return;
  entry->second.top = std::min(entry->second.top, band.top);
  entry->second.bottom = std::max(entry->second.bottom, band.bottom);
}

}  // namespace

SheetBands ReadSheetBands(const QByteArray& svg) {
  SheetBands bands;
  QXmlStreamReader reader(svg);
  // The ids of the open groups, outermost first; a group without an id counts as "".
  std::vector<QString> groups;
  while (!reader.atEnd()) {
    const QXmlStreamReader::TokenType token = reader.readNext();
    if (token == QXmlStreamReader::EndElement && reader.name() == QLatin1String("g")) {
      if (!groups.empty()) groups.pop_back();
      continue;
    }
    if (token != QXmlStreamReader::StartElement) continue;
    const QXmlStreamAttributes attributes = reader.attributes();
    const auto name = reader.name();
    if (name == QLatin1String("svg")) {
      bands.width = Number(attributes, "width");
      bands.height = Number(attributes, "height");
      continue;
    }
    if (name == QLatin1String("g")) {
      groups.push_back(attributes.value(QLatin1String("id")).toString());
      continue;
    }
    const auto part =
        std::find_if(groups.begin(), groups.end(), [](const QString& id) { return !id.isEmpty(); });
    if (part == groups.end()) continue;
    Band band;
    if (name == QLatin1String("rect")) {
      band.top = Number(attributes, "y");
      band.bottom = band.top + Number(attributes, "height");
    } else if (name == QLatin1String("text")) {
      const double baseline = Number(attributes, "y");
      const double size = Number(attributes, "font-size");
      band = {baseline - size, baseline + size * kDescentPart};
      if (*part == QLatin1String("appendix")) bands.appendix_lines.push_back(band);
    } else {
      continue;
    }
    Extend(bands.parts, *part, band);
  }
  if (reader.hasError()) return {};
  return bands;
}

std::vector<Band> PageSlices(const std::vector<Band>& lines, double page_height, double padding) {
  // A slice runs from the end of the line before it to the start of the line after it at most,
  // so that no part of a neighbouring line shows at a page's edge.
  const auto top_of = [&lines, padding](std::size_t line) {
    double top = lines[line].top - padding;
    if (line > 0) top = std::max(top, lines[line - 1].bottom);
    return std::max(0.0, top);
  };
  const auto bottom_of = [&lines, padding](std::size_t line) {
    double bottom = lines[line].bottom + padding;
    if (line + 1 < lines.size()) bottom = std::min(bottom, lines[line + 1].top);
    return bottom;
  };
  std::vector<Band> slices;
  std::size_t first = 0;
  while (first < lines.size()) {
    const double top = top_of(first);
    std::size_t last = first;
    while (last + 1 < lines.size() && bottom_of(last + 1) - top <= page_height) ++last;
    slices.push_back({top, std::min(bottom_of(last), top + page_height)});
    first = last + 1;
  }
  return slices;
}

}  // namespace qp40
