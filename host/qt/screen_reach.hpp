#pragma once
// Keeping the character within the user's reach: where a window of the character goes so that
// at least three quarters of it are on a screen, and whether it is lost off every screen.

#include <QList>
#include <QPoint>
#include <QRect>

namespace vembrel {

// True when at least three quarters of `window` lie on `screens`.
bool is_within_reach(const QRect& window, const QList<QRect>& screens);

// Where `window` ends up after a drag: where it is, when it is within reach; otherwise moved
// fully into the screen under its centre (or the one it overlaps most, or the nearest).
// With no screen at all, the window stays.
QPoint reachable_position(const QRect& window, const QList<QRect>& screens);

// The geometries of the screens now connected.
QList<QRect> screen_areas();

// Width of the primary screen in twips: device-independent pixels at its logical DPI.
double primary_screen_twips();
// The primary screen's top left corner on the desktop.
QPoint primary_screen_corner();
// The character's place at the top right of the primary screen, where the program puts it
// at start.
QPoint home_position();

}  // namespace vembrel
