# Shared by the scripts that drive the real program in a private Xvfb server: a work folder
# removed at exit with every process started, pass/fail counting, the X server, and window
# look-ups by whole name. Source it; it sets `work`, `pids`, `passed` and `failed`.
export LC_ALL=C.UTF-8  # Qt writes garbled window names in the C locale
work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
export TMPDIR=$work/tmp XDG_RUNTIME_DIR=$work/runtime  # the single-instance socket lives here
mkdir -p "$TMPDIR" && mkdir -m 700 "$XDG_RUNTIME_DIR"
# Without a session bus, libdbus would launch one of its own (dbus-launch, when dbus-x11 is
# installed) that outlives the test and leaves files in the runtime folder; a test that needs
# a bus starts its own with dbus-run-session.
export DBUS_SESSION_BUS_ADDRESS=${DBUS_SESSION_BUS_ADDRESS:-disabled:}

passed=0 failed=0
ok() { echo "ok   $1"; passed=$((passed + 1)); }
fail() { echo "FAIL $1"; failed=$((failed + 1)); }

# Starts an Xvfb on a free display (-displayfd picks one and says when it is ready), with a
# screen of $1 pixels (1280x800 by default); sets `xvfb` (its pid) and DISPLAY.
start_xvfb() {
  rm -f "$work/display"
  Xvfb -displayfd 3 -screen 0 "${1:-1280x800}x24" -nolisten tcp -noreset 3>"$work/display" 2>>"$work/xvfb.log" &
  xvfb=$!
  pids+=($xvfb)
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
  [ -s "$work/display" ] || { echo "Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }
  export DISPLAY=":$(head -n1 "$work/display")"
}

# The id of a visible window whose whole name matches $1, waiting up to $2 seconds. A search
# fails outright when a window it looks at goes away meanwhile (a menu closing, say), so it
# is asked again until the time is up rather than once with --sync.
window() {
  local found deadline=$((SECONDS + ${2:-20}))
  while :; do
    found=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1)
    if [ -n "$found" ] || [ "$SECONDS" -ge "$deadline" ]; then break; fi
    sleep 0.2
  done
  printf '%s' "$found"
}
visible() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1; }

# Waits until a balloon shows a text matching $2 (up to $3 seconds, 30 by default); $1 names
# the check.
expect_thought() {
  if [ -n "$(window "$2" "${3:-30}")" ]; then ok "$1"; else fail "$1: no balloon matching $2"; fi
}

# Clicks through the balloons (every visible window but the character, window id $1), as an
# impatient reader would, until the character is quiet: no balloon for $2 looks in a row,
# $3 seconds apart (gestures play between thoughts).
click_until_quiet() {
  local b calm=0
  for _ in $(seq 400); do
    b=$(xdotool search --onlyvisible --name '.' 2>/dev/null | grep -vx "$1" | head -n1)
    if [ -z "$b" ]; then
      calm=$((calm + 1))
      [ "$calm" -ge "$2" ] && return 0
    else
      calm=0
      eval "$(xdotool getwindowgeometry --shell "$b")"
      xdotool mousemove "$((X + WIDTH / 2))" "$((Y + HEIGHT / 2))" click 1
    fi
    sleep "$3"
  done
  return 1
}
