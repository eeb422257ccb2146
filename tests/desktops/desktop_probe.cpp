// A helper of the desktop matrix, for what the shell's X tools cannot do:
//
//   desktop_probe wallpaper RRGGBB   paints the root window in one colour the way wallpaper
//                                    setters do (a pixmap named by _XROOTPMAP_ID), so that
//                                    compositors draw it too instead of black or grey
//   desktop_probe compositor         prints "yes" when a compositing manager owns
//                                    _NET_WM_CM_S0, otherwise "no"

#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

xcb_atom_t atom(xcb_connection_t* connection, const char* name) {
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
      connection, xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name), nullptr);
  const xcb_atom_t result = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
  std::free(reply);
  return result;
}

int wallpaper(xcb_connection_t* connection, xcb_screen_t* screen, const char* colour) {
  const unsigned long rgb = std::strtoul(colour, nullptr, 16);
  const xcb_pixmap_t pixmap = xcb_generate_id(connection);
  xcb_create_pixmap(connection, screen->root_depth, pixmap, screen->root, screen->width_in_pixels,
                    screen->height_in_pixels);
  const xcb_gcontext_t gc = xcb_generate_id(connection);
  const uint32_t foreground = uint32_t(rgb);  // 24-bit TrueColor: the pixel is the colour
  xcb_create_gc(connection, gc, pixmap, XCB_GC_FOREGROUND, &foreground);
  const xcb_rectangle_t all{0, 0, screen->width_in_pixels, screen->height_in_pixels};
  xcb_poly_fill_rectangle(connection, pixmap, gc, 1, &all);
  xcb_change_window_attributes(connection, screen->root, XCB_CW_BACK_PIXMAP, &pixmap);
  xcb_clear_area(connection, 0, screen->root, 0, 0, 0, 0);
  for (const char* name : {"_XROOTPMAP_ID", "ESETROOT_PMAP_ID"})
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, screen->root, atom(connection, name),
                        XCB_ATOM_PIXMAP, 32, 1, &pixmap);
  // The pixmap outlives this program, as a wallpaper setter's does.
  xcb_set_close_down_mode(connection, XCB_CLOSE_DOWN_RETAIN_PERMANENT);
  std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
  return 0;
}

int compositor(xcb_connection_t* connection, int screen_number) {
  const std::string name = "_NET_WM_CM_S" + std::to_string(screen_number);
  xcb_get_selection_owner_reply_t* owner = xcb_get_selection_owner_reply(
      connection, xcb_get_selection_owner(connection, atom(connection, name.c_str())), nullptr);
  std::puts(owner && owner->owner != XCB_NONE ? "yes" : "no");
  std::free(owner);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  int screen_number = 0;
  xcb_connection_t* connection = xcb_connect(nullptr, &screen_number);
  if (xcb_connection_has_error(connection)) {
    std::fprintf(stderr, "desktop_probe: cannot connect to the X display\n");
    return 1;
  }
  xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
  for (int i = 0; i < screen_number; ++i) xcb_screen_next(&screens);
  const std::string command = argc > 1 ? argv[1] : "";
  int status = 2;
  if (command == "wallpaper" && argc == 3)
    status = wallpaper(connection, screens.data, argv[2]);
  else if (command == "compositor" && argc == 2)
    status = compositor(connection, screen_number);
  else
    std::fprintf(stderr, "usage: desktop_probe wallpaper RRGGBB | desktop_probe compositor\n");
  xcb_disconnect(connection);
  return status;
}
