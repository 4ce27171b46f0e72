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

}  // namespace qp40
