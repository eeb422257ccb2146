#pragma once
// Whether a compositing manager is running: on X11 it owns the _NET_WM_CM_S0 selection;
// under XWayland the Wayland compositor always is one.

namespace vembrel {

// True on X11 when the selection has an owner; elsewhere (Wayland composites, offscreen has
// no desktop) false only for the offscreen and minimal platforms.
bool compositorActive();

// Whether the X server is XWayland, whose Wayland compositor shows each window's whole buffer.
bool onXWayland();

}  // namespace vembrel
