#!/usr/bin/env bash
# One character per person under unusual timing, with the real program in Xvfb: two launches
# at the same moment give one character; a stopped program does not make later launches hang;
# the runtime files go however the program ends (quit, SIGTERM, SIGINT, SIGHUP, the X server
# going away, an unreachable display at start).
# Usage: instance_timing_test.sh <application directory>
set -u
app=$1
source "$(dirname "$0")/../support/x_session.sh"
source "$(dirname "$0")/instance_lib.sh"
# Several steps end the program through exit(); what Qt still holds then is no leak of ours,
# and the sanitizer's leak report would replace the exit status under test.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
start_xvfb

# 1. Pairs of launches at the same moment: one of the two ends at once, and one character
# stays. The survivor is then ended by a signal, which must take its files along.
rounds=8 raced=0
for round in $(seq $rounds); do
  launch; a=$launched
  launch; b=$launched
  ended=
  for _ in $(seq 300); do
    if ! kill -0 "$a" 2>/dev/null; then ended=$a survivor=$b; break; fi
    if ! kill -0 "$b" 2>/dev/null; then ended=$b survivor=$a; break; fi
    sleep 0.1
  done
  if [ -z "$ended" ]; then
    fail "round $round: both launches still run after 30 s ($(characters) characters)"
  else
    wait "$ended"
    status=$?
    if [ "$status" != 0 ]; then
      fail "round $round: the launch that ended has status $status"
    elif ! kill -0 "$survivor" 2>/dev/null; then
      fail "round $round: neither launch still runs"
    elif ! characters_settle_at 30 1; then
      fail "round $round: $(characters) characters on the screen"
    else
      raced=$((raced + 1))
    fi
  fi
  stop "$a"
  stop "$b"
  # The survivor, killed outright, left its files: the next pair starts over them.
  [ "$raced" = "$round" ] || break
done
[ "$raced" = $rounds ] && ok "$rounds pairs of launches at the same moment: one character each time"

# Process $1 ends within 10 s with status $2 and leaves no file behind; $3 names the check.
ends_leaving_nothing() {
  if ! ends_within "$1" 100; then
    fail "$3: still running 10 s later"
    stop "$1"
  elif [ "$status" != "$2" ] || [ -n "$(leftovers)" ]; then
    fail "$3: status $status (expected $2), left: $(leftovers | tr '\n' ' ')"
  else
    ok "$3: status $status, no file left"
  fi
}

# 2. However the program ends, it leaves no file behind.
for signal in TERM INT HUP; do
  launch
  if [ -z "$(window "$character_name" 30)" ]; then
    fail "SIG$signal: the character did not appear"; stop "$launched"; continue
  fi
  [ -n "$(leftovers)" ] || fail "SIG$signal: no runtime file while running (is the test looking in the right place?)"
  kill -s "$signal" "$launched"
  ends_leaving_nothing "$launched" $((128 + $(kill -l "$signal"))) "SIG$signal ends the program"
done

# Quit from the menu ends the program at once, and also leaves nothing.
launch
wid=$(window "$character_name" 30)
if [ -z "$wid" ]; then
  fail "quit: the character did not appear"
else
  window '双 击 显 示 菜 单$' 30 >/dev/null
  eval "$(xdotool getwindowgeometry --shell "$wid")"
  xdotool mousemove "$((X + 65))" "$((Y + 90))"
  sleep 0.2
  xdotool click --repeat 2 --delay 80 1
  sleep 0.6
  xdotool key --delay 30 $(printf 'Down %.0s' $(seq 12)) Return
  ends_leaving_nothing "$launched" 0 "quit ends the program"
fi
stop "$launched"

# A later launch beside the stopped program $first: it says within 10 s that Vembrel runs
# (with the stopped program's pid) but does not answer, in a dialog too, ends with status 1
# and starts no second character. $1 names the case.
later_launch_is_told() {
  : >"$work/err"
  launch
  later=$launched
  dialog=$(window '^Vembrel$' 20)
  [ -n "$dialog" ] && { xdotool windowfocus --sync "$dialog" 2>/dev/null; xdotool key Return; }
  if ! ends_within "$later" 100; then
    fail "$1: a later launch still waits 30 s later"
  elif [ "$status" != 1 ] || ! grep -q "already running (process $first).*does not answer" "$work/err"; then
    fail "$1: a later launch ended with status $status, saying: $(head -c 300 "$work/err")"
  elif [ -z "$dialog" ]; then
    fail "$1: no dialog"
  elif [ "$(characters)" != 1 ]; then
    fail "$1: $(characters) characters"
  else
    ok "$1: a later launch says \"$(head -n1 "$work/err" | cut -c1-90)…\" and ends"
  fi
  stop "$later"
}

# 3. A stopped program: a later launch neither hangs, nor takes the request it sent for an
# answer, nor starts a second character; it says so and ends. The same once the stopped
# program's queue of requests is full.
launch
first=$launched
if [ -z "$(window "$character_name" 30)" ]; then
  fail "stopped program: the character did not appear"
else
  kill -STOP "$first"
  later_launch_is_told "stopped program"
  # Fill the queue of whatever socket the program listens on, as many launches would.
  python3 - "$work" <<'PY'
import os, socket, stat, sys
held = []
for folder, _, names in os.walk(sys.argv[1]):
    for name in names:
        path = os.path.join(folder, name)
        if not stat.S_ISSOCK(os.lstat(path).st_mode):
            continue
        for _ in range(1000):
            s = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
            s.setblocking(False)
            try:
                s.connect(path)
            except OSError:
                s.close()
                break
            s.close()
PY
  later_launch_is_told "stopped program with a full queue"
  kill -CONT "$first"
  # Let go again, it answers the next launch as before.
  : >"$work/err"
  launch
  if ! ends_within "$launched" 100 || [ "$status" != 0 ]; then
    fail "stopped program let go: a later launch ended with status ${status:-none}: $(head -c 300 "$work/err")"
  else
    ok "stopped program let go: a later launch is answered"
  fi
  stop "$launched"
fi

# 4. The X server going away ends the program with status 1, and it takes its files along.
if [ -n "$(window "$character_name" 5)" ] && kill -0 "$first" 2>/dev/null; then
  kill "$xvfb"
  ends_leaving_nothing "$first" 1 "X server gone"
else
  fail "X server gone: the program from the last step is not running"
fi
stop "$first"

# 5. No display at all, or one that cannot be reached: a message, status 1, no file left.
for display in "" ":4095"; do
  : >"$work/err"
  DISPLAY=$display "$app/vembrel" >/dev/null 2>"$work/err"
  status=$?
  if [ "$status" = 1 ] && grep -qi "display" "$work/err" && [ -z "$(leftovers)" ]; then
    ok "display \"$display\": status 1, \"$(grep -i display "$work/err" | tail -n1 | cut -c1-80)\""
  else
    fail "display \"$display\": status $status, left: $(leftovers | tr '\n' ' '), said: $(head -c 300 "$work/err")"
  fi
done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
