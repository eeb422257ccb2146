#include "host/qt/svg_render.hpp"

#include <QPainter>
#include <QSvgRenderer>
#include <cmath>

namespace vembrel {

QImage renderSvg(const QByteArray& svg, QSize size, qreal ratio, bool* drawn) {
  const QSize pixels(int(std::ceil(size.width() * ratio)), int(std::ceil(size.height() * ratio)));
  QImage image(pixels.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QSvgRenderer renderer(svg);
  if (drawn) *drawn = renderer.isValid();
  renderer.setAspectRatioMode(Qt::KeepAspectRatio);
  QPainter painter(&image);
  painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
  renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(pixels)));
  painter.end();
  image.setDevicePixelRatio(ratio);
  return image;
}

}  // namespace vembrel
