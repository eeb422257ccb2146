/* Writes down, one line each, when any top-level window of the X display is mapped, unmapped
 * or renamed, with the time in milliseconds on the monotonic clock:
 *   <ms> map <window>      <ms> unmap <window>      <ms> name <window> <name>
 * A line feed in a name is written as "\n". Runs until it is ended. Usage: balloon_watch */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <xcb/xcb.h>

static double now_ms(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

static xcb_atom_t atom(xcb_connection_t* c, const char* name) {
  xcb_intern_atom_reply_t* reply =
      xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, (uint16_t)strlen(name), name), NULL);
  xcb_atom_t found = reply ? reply->atom : XCB_ATOM_NONE;
  free(reply);
  return found;
}

static void print_name(xcb_connection_t* c, xcb_window_t window, xcb_atom_t net_wm_name,
                       xcb_atom_t utf8) {
  xcb_get_property_reply_t* reply =
      xcb_get_property_reply(c, xcb_get_property(c, 0, window, net_wm_name, utf8, 0, 4096), NULL);
  if (!reply) return;
  const char* text = xcb_get_property_value(reply);
  const int length = xcb_get_property_value_length(reply);
  printf("%.1f name %u ", now_ms(), window);
  for (int i = 0; i < length; ++i) {
    if (text[i] == '\n')
      fputs("\\n", stdout);
    else
      putchar(text[i]);
  }
  putchar('\n');
  fflush(stdout);
  free(reply);
}

int main(void) {
  xcb_connection_t* c = xcb_connect(NULL, NULL);
  if (xcb_connection_has_error(c)) {
    fprintf(stderr, "balloon_watch: cannot connect to the X display\n");
    return 2;
  }
  xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
  const xcb_atom_t net_wm_name = atom(c, "_NET_WM_NAME");
  const xcb_atom_t utf8 = atom(c, "UTF8_STRING");
  uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
  xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
  xcb_flush(c);

  xcb_generic_event_t* event;
  while ((event = xcb_wait_for_event(c)) != NULL) {
    switch (event->response_type & 0x7f) {
      case XCB_CREATE_NOTIFY: {
        const xcb_window_t window = ((xcb_create_notify_event_t*)event)->window;
        const uint32_t watch = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_change_window_attributes(c, window, XCB_CW_EVENT_MASK, &watch);
        xcb_flush(c);
        print_name(c, window, net_wm_name, utf8);
        break;
      }
      case XCB_MAP_NOTIFY:
        printf("%.1f map %u\n", now_ms(), ((xcb_map_notify_event_t*)event)->window);
        fflush(stdout);
        break;
      case XCB_UNMAP_NOTIFY:
        printf("%.1f unmap %u\n", now_ms(), ((xcb_unmap_notify_event_t*)event)->window);
        fflush(stdout);
        break;
      case XCB_PROPERTY_NOTIFY: {
        const xcb_property_notify_event_t* change = (xcb_property_notify_event_t*)event;
        if (change->atom == net_wm_name) print_name(c, change->window, net_wm_name, utf8);
        break;
      }
    }
    free(event);
  }
  xcb_disconnect(c);
  return 0;
}
