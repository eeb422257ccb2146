#include "host/qt/balloon_layout.hpp"

#include <QLineF>
#include <algorithm>
#include <cmath>

namespace vembrel {

namespace {

// The head sits in the upper part of the character's canvas.
QPointF headCentre(const QRect& character) {
  return {character.x() + character.width() * 0.5, character.y() + character.height() * 0.3};
}
qreal headRadius(const QRect& character) {
  return character.width() * 0.3;
}

constexpr qreal kTrailGap = 30;  // between the cloud and the head, for the bubbles

QRectF cloudBeside(BalloonSide side, const QSizeF& size, const QRect& character) {
  const QPointF head = headCentre(character);
  const qreal reach = headRadius(character) + kTrailGap;
  switch (side) {
    case BalloonSide::Left:
      return {head.x() - reach - size.width(), head.y() - size.height() * 0.35, size.width(),
              size.height()};
    case BalloonSide::Right:
      return {head.x() + reach, head.y() - size.height() * 0.35, size.width(), size.height()};
    case BalloonSide::Below:
      return {head.x() - size.width() * 0.6, character.bottom() + 6.0, size.width(), size.height()};
    case BalloonSide::Above:
      return {head.x() - size.width() * 0.6, character.top() - 6.0 - size.height(), size.width(),
              size.height()};
  }
  return {};
}

// Moves `rect` the least distance that puts it inside `area` (its top-left wins if too big).
QRectF clampInto(QRectF rect, const QRectF& area) {
  rect.moveLeft(std::max(area.left(), std::min(rect.left(), area.right() - rect.width())));
  rect.moveTop(std::max(area.top(), std::min(rect.top(), area.bottom() - rect.height())));
  return rect;
}

// How far `rect` sticks out of `area`, summed over its sides.
qreal overflow(const QRectF& rect, const QRectF& area) {
  return std::max(0.0, area.left() - rect.left()) + std::max(0.0, rect.right() - area.right()) +
         std::max(0.0, area.top() - rect.top()) + std::max(0.0, rect.bottom() - area.bottom());
}

std::vector<QRectF> trail(const QRectF& cloud, const QRect& character) {
  const QPointF head = headCentre(character);
  const QPointF near(
      std::clamp(head.x(), cloud.left() + kCloudPadding, cloud.right() - kCloudPadding),
      std::clamp(head.y(), cloud.top() + kCloudPadding, cloud.bottom() - kCloudPadding));
  QLineF line(near, head);
  const qreal start = kCloudPadding * 0.8;  // just outside the cloud's bumps
  const qreal end = line.length() - headRadius(character) - 2;
  std::vector<QRectF> bubbles;
  if (end <= start) return bubbles;
  const qreal radii[] = {6.5, 4.5, 3.0};
  for (int i = 0; i < 3; ++i) {
    line.setLength(start + (end - start) * (0.2 + 0.35 * i));
    const qreal r = radii[i];
    bubbles.emplace_back(line.p2().x() - r, line.p2().y() - r, 2 * r, 2 * r);
  }
  return bubbles;
}

}  // namespace

BalloonGeometry placeBalloon(const QSizeF& text_size, const QRect& character, const QRect& screen) {
  const QSizeF size = text_size + QSizeF(2 * kCloudPadding, 2 * kCloudPadding);
  const QRectF area(screen);
  // Beside the head reads best; at the top right of the screen that is the left.
  const BalloonSide order[] = {BalloonSide::Left, BalloonSide::Right, BalloonSide::Below,
                               BalloonSide::Above};
  BalloonSide best = order[0];
  qreal best_overflow = -1;
  for (const BalloonSide side : order) {
    // Sliding along the character's side is fine; only sticking out across it is not.
    QRectF cloud = cloudBeside(side, size, character);
    const bool vertical_side = side == BalloonSide::Left || side == BalloonSide::Right;
    if (vertical_side)
      cloud.moveTop(std::max(area.top(), std::min(cloud.top(), area.bottom() - cloud.height())));
    else
      cloud.moveLeft(std::max(area.left(), std::min(cloud.left(), area.right() - cloud.width())));
    const qreal out = overflow(cloud, area);
    if (best_overflow < 0 || out < best_overflow) {
      best = side;
      best_overflow = out;
    }
    if (out == 0) break;
  }
  const QRectF cloud = clampInto(cloudBeside(best, size, character), area);

  std::vector<QRectF> bubbles;
  QRectF bounds = cloud;
  for (const QRectF& bubble : trail(cloud, character)) {
    if (!area.contains(bubble)) continue;
    bubbles.push_back(bubble);
    bounds |= bubble;
  }
  // Whole pixels, a pixel of room for the outline, and never past the screen.
  QRect window = bounds.adjusted(-1, -1, 1, 1).toAlignedRect() & screen;
  const QPointF origin = window.topLeft();
  BalloonGeometry geometry;
  geometry.window = window;
  geometry.side = best;
  geometry.cloud = cloud.translated(-origin);
  geometry.text =
      geometry.cloud.adjusted(kCloudPadding, kCloudPadding, -kCloudPadding, -kCloudPadding);
  for (const QRectF& bubble : bubbles) geometry.bubbles.push_back(bubble.translated(-origin));
  return geometry;
}

}  // namespace vembrel
