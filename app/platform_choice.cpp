#include "app/platform_choice.hpp"

#include <cstdlib>
#include <string_view>

namespace vembrel {

namespace {

std::string_view variable(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

bool startsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

}  // namespace

std::string chooseX11Platform() {
  const std::string_view chosen = variable("QT_QPA_PLATFORM");
  // Nothing on screen either way: a choice for tests and scripts, kept as it is.
  if (chosen == "offscreen" || chosen == "minimal") return {};
  if (!variable("DISPLAY").empty()) {
    // "xcb" may carry options ("xcb:..."); anything else (wayland, a list) gives way.
    if (!startsWith(chosen, "xcb")) setenv("QT_QPA_PLATFORM", "xcb", 1);
    return {};
  }
  const bool wayland = !variable("WAYLAND_DISPLAY").empty();
  if (wayland || (!chosen.empty() && !startsWith(chosen, "xcb")))
    return std::string("this ") + (wayland ? "Wayland session" : "desktop") +
           " has no X server (DISPLAY is not set). Vembrel places its character itself and "
           "keeps it on top, which only X11 allows; on Wayland it runs through XWayland. "
           "Install XWayland (the Debian package xwayland) and enable it in your compositor, "
           "or log in to an X11 session";
  return {};  // no display at all: the display check says so
}

}  // namespace vembrel
