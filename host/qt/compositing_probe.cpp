#include "host/qt/compositing_probe.hpp"

#include <QGuiApplication>
#include <QScreen>

#if defined(VEMBREL_HAVE_XCB) && QT_CONFIG(xcb)
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>

#include <cstdlib>
#endif

namespace vembrel {

#if defined(VEMBREL_HAVE_XCB) && QT_CONFIG(xcb)
namespace {

bool selectionOwned(xcb_connection_t* connection) {
  static const char kName[] = "_NET_WM_CM_S0";
  xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
      connection, xcb_intern_atom(connection, 0, sizeof kName - 1, kName), nullptr);
  if (!atom) return false;
  xcb_get_selection_owner_reply_t* owner = xcb_get_selection_owner_reply(
      connection, xcb_get_selection_owner(connection, atom->atom), nullptr);
  const bool owned = owner && owner->owner != XCB_NONE;
  std::free(owner);
  std::free(atom);
  return owned;
}

// Newer XWayland servers announce an extension of that name; all of them name their RandR
// outputs XWAYLAND0, XWAYLAND1 and so on, which Qt gives as its screens' names.
bool onXWayland(xcb_connection_t* connection) {
  for (const QScreen* screen : QGuiApplication::screens())
    if (screen->name().startsWith(QLatin1String("XWAYLAND"))) return true;
  static const char kName[] = "XWAYLAND";
  xcb_query_extension_reply_t* reply = xcb_query_extension_reply(
      connection, xcb_query_extension(connection, sizeof kName - 1, kName), nullptr);
  const bool present = reply && reply->present;
  std::free(reply);
  return present;
}

}  // namespace
#endif

bool onXWayland() {
#if defined(VEMBREL_HAVE_XCB) && QT_CONFIG(xcb)
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return false;
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  // The X server does not change while the program runs.
  static const bool answer = x11 && x11->connection() && onXWayland(x11->connection());
  return answer;
#else
  return false;
#endif
}

// XWayland's windows are always composited by the Wayland compositor, whether or not its
// window manager claims the selection.
bool compositorActive() {
  const QString platform = QGuiApplication::platformName();
#if defined(VEMBREL_HAVE_XCB) && QT_CONFIG(xcb)
  if (platform == QLatin1String("xcb")) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection()) return false;
    return onXWayland() || selectionOwned(x11->connection());
  }
#endif
  return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal") &&
         platform != QLatin1String("xcb");
}

}  // namespace vembrel
