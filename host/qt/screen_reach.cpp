#include "host/qt/screen_reach.hpp"

#include <QGuiApplication>
#include <QRegion>
#include <QScreen>
#include <algorithm>
#include <cstdint>
#include <limits>

#include "lookup/character_place.hpp"

namespace vembrel {
namespace {

std::int64_t area(const QRect& rect) {
  return rect.isEmpty() ? 0 : std::int64_t{rect.width()} * rect.height();
}

std::int64_t squared_distance(const QPoint& point, const QRect& rect) {
  const std::int64_t dx = std::max({rect.left() - point.x(), 0, point.x() - rect.right()});
  const std::int64_t dy = std::max({rect.top() - point.y(), 0, point.y() - rect.bottom()});
  return dx * dx + dy * dy;
}

// The screen the window belongs to: the one under its centre, else the one it overlaps most,
// else the nearest.
const QRect& home_screen(const QRect& window, const QList<QRect>& screens) {
  for (const QRect& screen : screens)
    if (screen.contains(window.center())) return screen;
  const QRect* best = &screens.front();
  std::int64_t best_overlap = -1;
  std::int64_t best_distance = std::numeric_limits<std::int64_t>::max();
  for (const QRect& screen : screens) {
    const std::int64_t overlap = area(screen & window);
    const std::int64_t distance = squared_distance(window.center(), screen);
    if (overlap > best_overlap || (overlap == best_overlap && distance < best_distance)) {
      best = &screen;
      best_overlap = overlap;
      best_distance = distance;
    }
  }
  return *best;
}

}  // namespace

bool is_within_reach(const QRect& window, const QList<QRect>& screens) {
  // Screens side by side share the window between them; screens that overlap (a mirrored one,
  // a larger clone) count their common pixels once.
  QRegion on_screens;
  for (const QRect& screen : screens) on_screens += screen & window;
  std::int64_t covered = 0;
  for (const QRect& part : on_screens) covered += area(part);
  return !screens.isEmpty() && 4 * covered >= 3 * area(window);
}

QPoint reachable_position(const QRect& window, const QList<QRect>& screens) {
  if (screens.isEmpty() || is_within_reach(window, screens)) return window.topLeft();
  const QRect& screen = home_screen(window, screens);
  // A window larger than the screen keeps its top left corner on it.
  const int x =
      std::max(screen.left(), std::min(window.left(), screen.right() + 1 - window.width()));
  const int y =
      std::max(screen.top(), std::min(window.top(), screen.bottom() + 1 - window.height()));
  return {x, y};
}

QList<QRect> screen_areas() {
  // Whole screens, panels included: the character stands above them, within reach.
  QList<QRect> areas;
  for (const QScreen* screen : QGuiApplication::screens()) areas.append(screen->geometry());
  return areas;
}

double primary_screen_twips() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr || screen->logicalDotsPerInchX() <= 0) return 15360;
  return screen->geometry().width() * 1440.0 / screen->logicalDotsPerInchX();
}

QPoint primary_screen_corner() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen == nullptr ? QPoint() : screen->geometry().topLeft();
}

QPoint home_position() {
  const QPoint corner = primary_screen_corner();
  return {clamp_to_int16(static_cast<double>(corner.x()) + character_x(primary_screen_twips())),
          clamp_to_int16(corner.y())};
}

}  // namespace vembrel
