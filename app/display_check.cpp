#include "app/display_check.hpp"

#include <unistd.h>

#include <QCoreApplication>
#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>

#include "app/runtime_files.hpp"

namespace vembrel {
namespace {

QtMessageHandler g_default_handler = nullptr;

// Qt ends the process with abort() (and a core dump) when its platform cannot start, for
// example when the X server cannot be reached. That is no fault of the program: say so plainly
// and exit with status 1. Any other fatal message, a failed assertion included, is a fault and
// aborts as Qt means it to, where a debugger or a sanitizer sees it.
bool display_lost(QtMsgType type, const QString& message) {
  return type == QtFatalMsg && QCoreApplication::startingUp() &&
         message.contains(QLatin1String("platform plugin"));
}

void on_qt_message(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (!display_lost(type, message)) {
    if (g_default_handler) g_default_handler(type, context, message);
    return;
  }
  std::fprintf(stderr, "vembrel: %s\n", message.toLocal8Bit().constData());
  const char* display = std::getenv("DISPLAY");
  if (display && *display)
    std::fprintf(stderr, "vembrel: cannot use the display \"%s\"\n", display);
  std::fflush(stderr);
  remove_runtime_files();
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
