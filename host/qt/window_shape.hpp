#pragma once
// How a floating window lets its transparent pixels go. Without a compositor the X server
// must clip the window to its opaque pixels (a bounding shape), or the transparent parts show
// black. With one, the window keeps its whole rectangle and every paint replaces all of it:
// XWayland and some compositors draw a window's whole buffer whatever its bounding shape, so
// pixels outside a shrinking shape would keep old frames. There only the input shape is set,
// so clicks on transparent pixels still reach the windows below.

#include <QRegion>

class QWidget;

namespace vembrel {

// `shape` is in the window's device-independent pixels.
void applyWindowShape(QWidget& window, const QRegion& shape, bool compositing);

}  // namespace vembrel
