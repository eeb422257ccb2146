#pragma once
// How a floating window lets its transparent pixels go: the X server clips the window to a
// shape made from the frame's alpha (by the caller's threshold: only the opaque pixels
// without a compositor, since a translucent pixel would show black; every visible one with a
// compositor, which blends the soft edges). Under XWayland a compositor always blends, and it
// shows a window's whole buffer whatever its shape while the X server clips drawing to the
// shape, so pixels outside a shrinking shape would keep old frames: there the window keeps
// its whole rectangle, every paint replaces all of it, and only the input shape is set so
// clicks on transparent pixels still reach the windows below.

#include <QRegion>

class QWidget;

namespace vembrel {

// `shape` is in the window's device-independent pixels.
void applyWindowShape(QWidget& window, const QRegion& shape, bool compositing);

}  // namespace vembrel
