#pragma once
// The character window places itself and stays on top, which Wayland gives ordinary clients
// only through XWayland: the program always runs on Qt's X11 platform. Call before
// constructing QApplication.

#include <string>

namespace vembrel {

// Chooses Qt's X11 platform (QT_QPA_PLATFORM=xcb) whenever an X server is named, whatever
// QT_QPA_PLATFORM said; the offscreen and minimal platforms, which show nothing, are kept.
// Returns a message for the user when the session is Wayland (or asks for another platform)
// and has no X server to run on, otherwise an empty text.
std::string chooseX11Platform();

}  // namespace vembrel
