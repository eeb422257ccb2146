#include "host/qt/platform_choice.hpp"

#include <cstdlib>

namespace vembrel {

namespace {
bool isSet(const char* name) {
  const char* value = std::getenv(name);
  return value && *value;
}
}  // namespace

void preferX11Platform() {
  if (isSet("WAYLAND_DISPLAY") && !isSet("QT_QPA_PLATFORM") && isSet("DISPLAY"))
    setenv("QT_QPA_PLATFORM", "xcb", 1);
}

}  // namespace vembrel
