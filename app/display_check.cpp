#include "app/display_check.hpp"

#include <xcb/xcb.h>

#include <cstdlib>

namespace vembrel {

std::string check_display() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  const std::string chosen = platform ? platform : "";
  // Another platform (offscreen, wayland) is the user's explicit choice: Qt reports on it.
  if (!chosen.empty() && chosen.rfind("xcb", 0) != 0) return {};
  const char* display = std::getenv("DISPLAY");
  if (display == nullptr || *display == '\0')
    return "no X display to connect to (DISPLAY is not set); Vembrel needs a graphical desktop";
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  const bool failed = xcb_connection_has_error(connection) != 0;
  xcb_disconnect(connection);
  if (failed) return std::string("cannot connect to the X display \"") + display + "\"";
  return {};
}

}  // namespace vembrel
