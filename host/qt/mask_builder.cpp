#include "host/qt/mask_builder.hpp"

#include <cmath>
#include <vector>

namespace vembrel {

namespace {

QImage asArgb(const QImage& image) {
  return image.format() == QImage::Format_ARGB32_Premultiplied
             ? image
             : image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// The logical size, and whether any physical pixel inside logical pixel (x, y) is opaque
// enough: the mask then never clips a sharp edge drawn at a high pixel ratio.
bool blockOpaque(const QImage& argb, int x, int y, qreal ratio, int threshold) {
  const int x0 = int(std::floor(x * ratio)), y0 = int(std::floor(y * ratio));
  const int x1 = std::min(argb.width(), int(std::ceil((x + 1) * ratio)));
  const int y1 = std::min(argb.height(), int(std::ceil((y + 1) * ratio)));
  for (int py = y0; py < y1; ++py) {
    const QRgb* row = reinterpret_cast<const QRgb*>(argb.constScanLine(py));
    for (int px = x0; px < x1; ++px)
      if (qAlpha(row[px]) >= threshold) return true;
  }
  return false;
}

}  // namespace

QRegion maskFromAlpha(const QImage& image, int threshold) {
  if (image.isNull()) return {};
  const QImage argb = asArgb(image);
  const qreal ratio = image.devicePixelRatio();
  const int width = int(std::ceil(argb.width() / ratio));
  const int height = int(std::ceil(argb.height() / ratio));
  // One rectangle per run of opaque pixels in a row: rows in order and runs left to right is
  // the banded form QRegion takes directly, which is much cheaper than going through a bitmap.
  std::vector<QRect> runs;
  const bool unscaled = qFuzzyCompare(ratio, 1.0);
  for (int y = 0; y < height; ++y) {
    const QRgb* row = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
    int start = -1;
    for (int x = 0; x <= width; ++x) {
      const bool opaque = x < width && (unscaled ? qAlpha(row[x]) >= threshold
                                                 : blockOpaque(argb, x, y, ratio, threshold));
      if (opaque && start < 0) start = x;
      if (!opaque && start >= 0) {
        runs.emplace_back(start, y, x - start, 1);
        start = -1;
      }
    }
  }
  QRegion region;
  region.setRects(runs.data(), int(runs.size()));
  return region;
}

bool isOpaqueAt(const QImage& image, QPoint at, int threshold) {
  if (image.isNull() || at.x() < 0 || at.y() < 0) return false;
  const qreal ratio = image.devicePixelRatio();
  const QPoint pixel(int(at.x() * ratio), int(at.y() * ratio));
  if (!image.rect().contains(pixel)) return false;
  return blockOpaque(asArgb(image), at.x(), at.y(), ratio, threshold);
}

}  // namespace vembrel
