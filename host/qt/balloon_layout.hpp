#pragma once
// Where the thought balloon goes: beside the character on a side with room, always inside the
// screen's available area, with its trail of bubbles leading to the character's head. Plain
// geometry, testable without a screen.

#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QSizeF>
#include <vector>

namespace vembrel {

enum class BalloonSide { Left, Below, Right, Above };

struct BalloonGeometry {
  QRect window;                 // in screen coordinates
  QRectF cloud;                 // in window coordinates
  QRectF text;                  // in window coordinates
  std::vector<QRectF> bubbles;  // circles in window coordinates, largest first
  BalloonSide side = BalloonSide::Left;
};

// Room between the cloud's edge and its text: the cloud's bumps live here.
inline constexpr qreal kCloudPadding = 22;

// `character` is the character window in screen coordinates; `screen` the available area.
BalloonGeometry placeBalloon(const QSizeF& text_size, const QRect& character, const QRect& screen);

}  // namespace vembrel
