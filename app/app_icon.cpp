#include "app/app_icon.hpp"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace vembrel {

QIcon applicationIcon(const QString& svg_path) {
  QIcon icon;
  QSvgRenderer renderer(svg_path);
  if (!renderer.isValid()) return icon;
  // Drawn once at the largest size; the smaller ones are scaled from it.
  constexpr int kLargest = 64;
  QImage image(kLargest, kLargest, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  renderer.setAspectRatioMode(Qt::KeepAspectRatio);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  renderer.render(&painter);
  painter.end();
  icon.addPixmap(QPixmap::fromImage(image));
  for (const int side : {16, 24, 32, 48})
    icon.addPixmap(QPixmap::fromImage(
        image.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
  return icon;
}

}  // namespace vembrel
