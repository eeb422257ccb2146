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

xcb_connection_t* qtConnection() {
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return nullptr;
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  return x11 ? x11->connection() : nullptr;
}

xcb_atom_t g_selection = XCB_ATOM_NONE;  // _NET_WM_CM_S0, once known; the GUI thread's alone

// Newer XWayland servers announce an extension of that name; all of them name their RandR
// outputs XWAYLAND0, XWAYLAND1 and so on, which Qt gives as its screens' names.
bool screensSayXWayland() {
  for (const QScreen* screen : QGuiApplication::screens())
    if (screen->name().startsWith(QLatin1String("XWAYLAND"))) return true;
  return false;
}

bool selectionOwned(xcb_connection_t* connection) {
  if (g_selection == XCB_ATOM_NONE) {
    static const char kSelection[] = "_NET_WM_CM_S0";
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, sizeof kSelection - 1, kSelection), nullptr);
    if (atom) g_selection = atom->atom;
    std::free(atom);
    if (g_selection == XCB_ATOM_NONE) return false;
  }
  xcb_get_selection_owner_reply_t* owner = xcb_get_selection_owner_reply(
      connection, xcb_get_selection_owner(connection, g_selection), nullptr);
  const bool owned = owner && owner->owner != XCB_NONE;
  std::free(owner);
  return owned;
}

bool askXWayland(xcb_connection_t* connection) {
  if (screensSayXWayland()) return true;
  static const char kXWayland[] = "XWAYLAND";
  xcb_query_extension_reply_t* reply = xcb_query_extension_reply(
      connection, xcb_query_extension(connection, sizeof kXWayland - 1, kXWayland), nullptr);
  const bool present = reply && reply->present;
  std::free(reply);
  return present;
}

}  // namespace
#endif

bool onXWayland() {
#if defined(VEMBREL_HAVE_XCB) && QT_CONFIG(xcb)
  xcb_connection_t* connection = qtConnection();
  // The X server does not change while the program runs.
  static const bool answer = connection && askXWayland(connection);
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
    xcb_connection_t* connection = qtConnection();
    if (!connection) return false;
    return onXWayland() || selectionOwned(connection);
  }
#endif
  return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal") &&
         platform != QLatin1String("xcb");
}

}  // namespace vembrel
