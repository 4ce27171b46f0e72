#include "ui/main/picture_output.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgRenderer>
#include <cstdint>
#include <span>

#include "files/file_replace.h"
#include "ui/common/file_name.h"
#include "ui/main/picture_pages.h"

namespace qp40 {
namespace {

// PDF pages are drawn at this resolution; the sheet's text stays text, so it only sets how
// finely shapes are placed.
constexpr int kPdfResolution = 300;
constexpr double kMetresPerInch = 0.0254;
constexpr int kScreenDpi = 96;

bool Replace(const QString& path, const QByteArray& bytes) {
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
  return ReplaceFileContents(FilePath(path),
                             std::span(data, static_cast<std::size_t>(bytes.size())));
}

std::optional<QByteArray> PdfBytes(const Configuration& config, const CheatSheetExtras& extras,
                                   const PictureChoice& choice) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QPdfWriter writer(&buffer);
  const QPageLayout layout = PicturePageLayout(choice.paper);
  writer.setPageLayout(layout);
  writer.setResolution(kPdfResolution);
  writer.setTitle(QStringLiteral("QP40 cheat sheet"));
  writer.setCreator(QStringLiteral("qp40config"));
  const PicturePages pages(config, extras, choice, layout);
  if (!pages.Paint(writer)) return std::nullopt;
  return bytes;
}

std::optional<QByteArray> PngBytes(const std::string& svg) {
  const QImage image = DrawSheet(svg, kPngScale);
  if (image.isNull()) return std::nullopt;
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "PNG")) return std::nullopt;
  return bytes;
}

}  // namespace

QImage DrawSheet(const std::string& svg, int scale) {
  QSvgRenderer renderer(QByteArray(svg.data(), static_cast<qsizetype>(svg.size())));
  if (!renderer.isValid()) return {};
  QImage image(renderer.defaultSize() * scale, QImage::Format_RGB32);
  if (image.isNull()) return {};
  image.fill(Qt::white);
  // Viewers show the picture at the sheet's own size.
  const int dots_per_metre = qRound(kScreenDpi * scale / kMetresPerInch);
  image.setDotsPerMeterX(dots_per_metre);
  image.setDotsPerMeterY(dots_per_metre);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(image.size())));
  return image;
}

PictureFileStatus WritePictureFile(const QString& path, PictureFormat format,
                                   const Configuration& config, const CheatSheetExtras& extras,
                                   const PictureChoice& choice) {
  std::optional<QByteArray> bytes;
  switch (format) {
    case PictureFormat::kSvg: {
      const std::string svg = RenderCheatSheet(config, extras, SheetOptions(choice));
      bytes = QByteArray(svg.data(), static_cast<qsizetype>(svg.size()));
      break;
    }
    case PictureFormat::kPdf:
      bytes = PdfBytes(config, extras, choice);
      break;
    case PictureFormat::kPng:
      bytes = PngBytes(RenderCheatSheet(config, extras, SheetOptions(choice)));
      break;
  }
  if (!bytes) return PictureFileStatus::kNotDrawn;
  return Replace(path, *bytes) ? PictureFileStatus::kWritten : PictureFileStatus::kNotWritten;
}

}  // namespace qp40
