#include "host/qt/mask_builder.hpp"

#include <QBitmap>
#include <cmath>

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
  QImage bits(width, height, QImage::Format_MonoLSB);
  bits.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});  // index 1 is Qt::color1
  bits.fill(0);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (blockOpaque(argb, x, y, ratio, threshold)) bits.setPixel(x, y, 1);
  return QRegion(QBitmap::fromImage(bits));
}

bool isOpaqueAt(const QImage& image, QPoint at, int threshold) {
  if (image.isNull() || at.x() < 0 || at.y() < 0) return false;
  const qreal ratio = image.devicePixelRatio();
  const QPoint pixel(int(at.x() * ratio), int(at.y() * ratio));
  if (!image.rect().contains(pixel)) return false;
  return blockOpaque(asArgb(image), at.x(), at.y(), ratio, threshold);
}

}  // namespace vembrel
