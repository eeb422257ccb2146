#include "app/display_check.hpp"

#include <unistd.h>

#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>

namespace vembrel {
namespace {

QtMessageHandler g_default_handler = nullptr;

// Qt ends the process with abort() (and a core dump) when its platform cannot start, for
// example when the X server cannot be reached. Say so plainly and exit instead.
void on_qt_message(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type != QtFatalMsg) {
    if (g_default_handler) g_default_handler(type, context, message);
    return;
  }
  std::fprintf(stderr, "vembrel: %s\n", message.toLocal8Bit().constData());
  const char* display = std::getenv("DISPLAY");
  if (display && *display)
    std::fprintf(stderr, "vembrel: cannot use the display \"%s\"\n", display);
  std::fflush(stderr);
  ::_exit(1);
}

}  // namespace

std::string check_display() {
  g_default_handler = qInstallMessageHandler(on_qt_message);
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  const std::string chosen = platform ? platform : "";
  // Another platform (offscreen, wayland) is the user's explicit choice: Qt reports on it.
  if (!chosen.empty() && chosen.rfind("xcb", 0) != 0) return {};
  const char* display = std::getenv("DISPLAY");
  if (display == nullptr || *display == '\0')
    return "no X display to connect to (DISPLAY is not set); Vembrel needs a graphical desktop";
  return {};
}

}  // namespace vembrel
