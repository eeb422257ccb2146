#include "host/qt/desktop_watch.hpp"

#include <QGuiApplication>
#include <QSocketNotifier>
#include <cstdlib>
#include <cstring>
#include <string>

#if QT_CONFIG(xcb)
#include <xcb/xcb.h>
#include <xcb/xfixes.h>
#endif

namespace vembrel {

#if QT_CONFIG(xcb)

namespace {

xcb_atom_t internAtom(xcb_connection_t* connection, const char* name) {
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
      connection, xcb_intern_atom(connection, 0, uint16_t(strlen(name)), name), nullptr);
  const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
  std::free(reply);
  return atom;
}

}  // namespace

DesktopWatch::DesktopWatch(QObject* parent) : QObject(parent) {}

void DesktopWatch::start() {
  if (connection_ || QGuiApplication::platformName() != QLatin1String("xcb")) return;
  if (!open()) {
    close();
    return;
  }
  notifier_ =
      new QSocketNotifier(xcb_get_file_descriptor(connection_), QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &DesktopWatch::readEvents);
  readEvents();  // replies may have brought events along
}

bool DesktopWatch::open() {
  // The display Qt connected to: DISPLAY, as the platform was chosen from it.
  int screen_number = 0;
  connection_ = xcb_connect(nullptr, &screen_number);
  if (xcb_connection_has_error(connection_)) return false;
  const xcb_query_extension_reply_t* xfixes = xcb_get_extension_data(connection_, &xcb_xfixes_id);
  if (!xfixes || !xfixes->present) return false;
  xfixes_event_base_ = xfixes->first_event;
  // Selection events need the client to announce its XFixes version first.
  std::free(xcb_xfixes_query_version_reply(connection_, xcb_xfixes_query_version(connection_, 5, 0),
                                           nullptr));

  xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection_));
  for (int i = 0; i < screen_number && screens.rem; ++i) xcb_screen_next(&screens);
  if (!screens.rem) return false;
  const xcb_window_t root = screens.data->root;
  const std::string selection = "_NET_WM_CM_S" + std::to_string(screen_number);
  const xcb_atom_t compositor = internAtom(connection_, selection.c_str());
  if (compositor == XCB_ATOM_NONE) return false;
  // Top-level windows coming and going; this connection's own event mask on the root window
  // leaves Qt's untouched.
  const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
  xcb_change_window_attributes(connection_, root, XCB_CW_EVENT_MASK, &mask);
  xcb_xfixes_select_selection_input(connection_, root, compositor,
                                    XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER |
                                        XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY |
                                        XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
  xcb_flush(connection_);
  return true;
}

DesktopWatch::~DesktopWatch() {
  close();
}

void DesktopWatch::close() {
  delete notifier_;
  notifier_ = nullptr;
  if (connection_) xcb_disconnect(connection_);
  connection_ = nullptr;
}

void DesktopWatch::readEvents() {
  if (!connection_) return;
  bool compositor_changed = false;
  bool restacked = false;
  while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
    const int type = event->response_type & 0x7f;
    if (type == xfixes_event_base_ + XCB_XFIXES_SELECTION_NOTIFY) {
      compositor_changed = true;
    } else if (type == XCB_MAP_NOTIFY) {
      // Unmanaged windows (menus, tooltips, the character's own) may go above it.
      restacked |= !reinterpret_cast<xcb_map_notify_event_t*>(event)->override_redirect;
    } else if (type == XCB_CONFIGURE_NOTIFY) {
      const auto* configure = reinterpret_cast<xcb_configure_notify_event_t*>(event);
      auto [entry, added] = stacked_above_.try_emplace(configure->window, configure->above_sibling);
      const bool moved_in_stack = added || entry->second != configure->above_sibling;
      entry->second = configure->above_sibling;
      restacked |= moved_in_stack && !configure->override_redirect;
    } else if (type == XCB_CIRCULATE_NOTIFY) {
      restacked |=
          reinterpret_cast<xcb_circulate_notify_event_t*>(event)->place == XCB_PLACE_ON_TOP;
    } else if (type == XCB_DESTROY_NOTIFY) {
      stacked_above_.erase(reinterpret_cast<xcb_destroy_notify_event_t*>(event)->window);
    }
    std::free(event);
  }
  // The X server went away: Qt's own connection reports that; this one just stops.
  if (xcb_connection_has_error(connection_)) close();
  if (compositor_changed) emit compositorChanged();
  if (restacked) emit managedWindowRestacked();
}

#else

DesktopWatch::DesktopWatch(QObject* parent) : QObject(parent) {}
DesktopWatch::~DesktopWatch() = default;
void DesktopWatch::start() {}
bool DesktopWatch::open() {
  return false;
}
void DesktopWatch::readEvents() {}
void DesktopWatch::close() {}

#endif

}  // namespace vembrel
