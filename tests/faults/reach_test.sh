#!/usr/bin/env bash
# The real program in Xvfb, driven with xdotool: a character dragged past the top right corner
# ends with at least three quarters of it on the screen; one left on a monitor that goes away
# comes back to the top right of the primary monitor when the tray icon shows it after 隐藏,
# and when the program is started a second time.
# Usage: reach_test.sh <application directory>
set -u
app=$1
source "$(dirname "$0")/../support/x_session.sh"

# Two monitors side by side, the primary one on the left: P 1280x800+0+0 and R 1024x800+1280+0.
# Xvfb has one output, "screen"; RandR monitors split it as a real desktop's would. P takes the
# output, so that no monitor of the whole output is left once R goes.
start_xvfb 2304x800
xrandr --setmonitor '*P' 1280/338x800/211+0+0 screen >/dev/null
xrandr --setmonitor R 1024/270x800/211+1280+0 none >/dev/null

"$app/vembrel" >/dev/null 2>"$work/program.err" &
pids+=($!)
wid=$(window '^Vembrel 双击显示菜单$' 30)
[ -n "$wid" ] || { fail "the character did not appear"; cat "$work/program.err"; exit 1; }

# Waits up to $1 tenths of a second for the character's geometry to pass the test $2 (with X,
# Y, WIDTH and HEIGHT set); the last geometry stays in those variables.
wait_geometry() {
  for _ in $(seq "$1"); do
    eval "$(xdotool getwindowgeometry --shell "$wid" 2>/dev/null)"
    eval "$2" && return 0
    sleep 0.1
  done
  return 1
}
at_home() { wait_geometry "${1:-100}" '[ "$X" = 1160 ] && [ "$Y" = 0 ]'; }
# The share of the character on the primary monitor, in per cent.
on_primary() {
  local w=$(($(min $((X + WIDTH)) 1280) - $(max "$X" 0)))
  local h=$(($(min $((Y + HEIGHT)) 800) - $(max "$Y" 0)))
  ((w < 0)) && w=0
  ((h < 0)) && h=0
  echo $((100 * w * h / (WIDTH * HEIGHT)))
}
min() { echo $(($1 < $2 ? $1 : $2)); }
max() { echo $(($1 > $2 ? $1 : $2)); }
# Grabs the character by its middle and drags it in steps until its middle is at $1,$2.
drag_to() {
  local from_x=$((X + WIDTH / 2)) from_y=$((Y + HEIGHT / 2))
  xdotool mousemove "$from_x" "$from_y" mousedown 1
  for step in 1 2 3 4 5 6 7 8; do
    xdotool mousemove $((from_x + ($1 - from_x) * step / 8)) $((from_y + ($2 - from_y) * step / 8))
    sleep 0.05
  done
  xdotool mouseup 1
}

at_home || fail "the character starts at $X,$Y, not 1160,0"

# 1. Past the primary monitor's top right pixel, where only a corner of it would stay on the
# monitor (the other monitor is beside the lower part only): pulled back whole.
xrandr --delmonitor R >/dev/null
sleep 0.5
drag_to 1279 0
if wait_geometry 50 '[ "$X" = $((1280 - WIDTH)) ] && [ "$Y" = 0 ]'; then
  ok "a drag past the top right corner ends with the whole character on the screen"
else
  fail "after the drag the character is at $X,$Y, $(on_primary) % on the screen"
fi
xrandr --setmonitor R 1024/270x800/211+1280+0 none >/dev/null

# Leaves the character on monitor R and unplugs R: the character is then off every monitor.
lose_character() {
  sleep 0.5
  wait_geometry 1 true
  drag_to 1800 400
  if ! wait_geometry 50 '[ "$X" -ge 1280 ]'; then
    fail "the character could not be dragged onto the second monitor: at $X,$Y"
    return 1
  fi
  xrandr --delmonitor R >/dev/null
}

# 2. A second start asks the running program to show its character.
if lose_character; then
  "$app/vembrel" >/dev/null 2>>"$work/second.err"
  if at_home; then ok "a second start brings the lost character back"; else fail "after a second start the character is at $X,$Y"; fi
fi

# 3. Hidden from its menu while lost, then shown again from the tray icon.
tray_icon() {
  xwininfo -root -tree 2>/dev/null | awk '
    /"panel": \("panel" "trayer"\)/ {inside = 1; depth = index($0, "0x"); next}
    inside && index($0, "0x") <= depth && /0x/ {inside = 0}
    inside && /\("vembrel" "Vembrel"\)/ {print $1; exit}'
}
trayer --edge bottom --align left --widthtype pixel --width 200 --height 32 --SetDockType false \
  >"$work/trayer.log" 2>&1 &
pids+=($!)
icon=
for _ in $(seq 100); do icon=$(tray_icon); [ -n "$icon" ] && break; sleep 0.2; done
xrandr --setmonitor R 1024/270x800/211+1280+0 none >/dev/null
if [ -z "$icon" ]; then
  fail "no tray icon to show the character with"
elif lose_character; then
  xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) sleep 0.2 click --repeat 2 --delay 80 1 sleep 0.8
  xdotool key --delay 50 $(printf 'Down %.0s' $(seq 11)) Return
  for _ in $(seq 100); do [ -z "$(visible '^Vembrel 双击显示菜单$')" ] && break; sleep 0.1; done
  if [ -n "$(visible '^Vembrel 双击显示菜单$')" ]; then
    fail "the character did not hide from its menu"
  else
    eval "$(xdotool getwindowgeometry --shell "$icon")"
    xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) sleep 0.2 click 1
    if [ -n "$(window '^Vembrel 双击显示菜单$' 10)" ] && at_home; then
      ok "the tray icon brings the hidden, lost character back"
    else
      fail "after the tray icon the character is at $X,$Y"
    fi
  fi
fi

echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
