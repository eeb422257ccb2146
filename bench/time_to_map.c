/* Starts a command and prints, in milliseconds, how long it took until its first window was
 * mapped on the X display, then ends the command. Usage: time_to_map COMMAND [ARG...] */
#include <signal.h>
#include <spawn.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <time.h>
#include <xcb/xcb.h>

extern char** environ;

static double now_ms(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

int main(int argc, char** argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: time_to_map COMMAND [ARG...]\n");
    return 2;
  }
  xcb_connection_t* c = xcb_connect(NULL, NULL);
  if (xcb_connection_has_error(c)) {
    fprintf(stderr, "time_to_map: cannot connect to the X display\n");
    return 2;
  }
  xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
  uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
  xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
  free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), NULL)); /* the mask is in place */

  pid_t pid;
  const double start = now_ms();
  if (posix_spawnp(&pid, argv[1], NULL, NULL, argv + 1, environ) != 0) {
    perror("time_to_map");
    return 2;
  }
  double mapped = -1;
  xcb_generic_event_t* event;
  while (mapped < 0 && (event = xcb_wait_for_event(c)) != NULL) {
    if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY) mapped = now_ms() - start;
    free(event);
  }
  kill(pid, SIGTERM);
  waitpid(pid, NULL, 0);
  xcb_disconnect(c);
  if (mapped < 0) return 1;
  printf("%.2f\n", mapped);
  return 0;
}
