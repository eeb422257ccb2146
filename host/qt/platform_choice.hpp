#pragma once
// The character window needs to place itself and stay on top, which Wayland does not allow
// ordinary clients; XWayland does. Call before constructing QApplication.

namespace vembrel {

// Sets QT_QPA_PLATFORM=xcb when running under Wayland with an X server available, unless the
// user chose a platform already.
void preferX11Platform();

}  // namespace vembrel
