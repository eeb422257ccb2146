#include "host/qt/cloud_shape.hpp"

#include <algorithm>
#include <cmath>

namespace vembrel {

namespace {

// Places bumps of alternating size along one edge from `from` to `to`.
void addBumps(QPainterPath& path, QPointF from, QPointF to, qreal radius) {
  const qreal length = std::hypot(to.x() - from.x(), to.y() - from.y());
  const int count = std::max(1, int(std::round(length / (radius * 1.5))));
  for (int i = 0; i < count; ++i) {
    const qreal t = (i + 0.5) / count;
    const QPointF centre = from + (to - from) * t;
    const qreal r = radius * (i % 2 == 0 ? 1.0 : 0.82);
    path.addEllipse(centre, r, r);
  }
}

}  // namespace

QPainterPath cloudPath(const QRectF& rect) {
  const qreal radius = std::min({14.0, rect.width() / 4, rect.height() / 4});
  const QRectF body = rect.adjusted(radius, radius, -radius, -radius);
  QPainterPath path;
  path.setFillRule(Qt::WindingFill);
  path.addRoundedRect(body, radius, radius);
  addBumps(path, body.topLeft(), body.topRight(), radius);
  addBumps(path, body.topRight(), body.bottomRight(), radius);
  addBumps(path, body.bottomRight(), body.bottomLeft(), radius);
  addBumps(path, body.bottomLeft(), body.topLeft(), radius);
  return path.simplified();
}

}  // namespace vembrel
