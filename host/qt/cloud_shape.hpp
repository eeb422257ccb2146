#pragma once
// The outline of a thought cloud: a body ringed with overlapping round bumps, all inside the
// given rectangle.

#include <QPainterPath>
#include <QRectF>

namespace vembrel {

QPainterPath cloudPath(const QRectF& rect);

}  // namespace vembrel
