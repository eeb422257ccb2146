#!/usr/bin/env bash
# The desktop matrix: the real program under real window managers, compositors, trays and a
# Wayland compositor, each started headless, checked by window positions and by the pixels
# of screenshots against the rest pose as the character window draws it.
# Usage: desktop_matrix.sh <row> <application directory> <screenshot folder> <vembrel-preview>
#                          <desktop_probe>
# Rows: openbox_picom picom_toggle xfwm4 tray_before tray_after two_monitors hidpi sway mutter
set -u
row=$1
built=$2
shots=$3/$row
preview=$4
probe=$5
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../support/x_session.sh"
rm -rf "$shots" && mkdir -p "$shots"
character='^Vembrel 双击显示菜单$'

# --- Helpers -------------------------------------------------------------------------------

# Runs a program in the background, remembering it for the clean-up; its pid is in `last`.
spawn() {
  "$@" >>"$work/$(basename "$1").log" 2>&1 &
  last=$!
  pids+=($last)
}

# Screenshot of the whole screen to $shots/$1.png (grim on Wayland, else the X root window).
shoot() {
  if [ -n "${wayland_shot:-}" ]; then $wayland_shot "$shots/$1.png"; else import -window root "$shots/$1.png" 2>/dev/null; fi
}

# The rest pose as the window draws it, $1 x $2 logical pixels at pixel ratio $3.
reference() {
  local out="$work/rest-$1x$2@$3.png"
  [ -s "$out" ] || "$preview" --frame "$built/dh.vr" rest "$1x$2" "$3" "$out" 2>/dev/null
  echo "$out"
}

# Absolute geometry of window $1: sets X Y W H and OR (override-redirect: yes/no).
geometry() {
  local info
  info=$(xwininfo -id "$1" 2>/dev/null) || return 1
  X=$(awk '/Absolute upper-left X/ {print $NF}' <<<"$info")
  Y=$(awk '/Absolute upper-left Y/ {print $NF}' <<<"$info")
  W=$(awk '/Width:/ {print $NF}' <<<"$info")
  H=$(awk '/Height:/ {print $NF}' <<<"$info")
  OR=$(awk '/Override Redirect State/ {print $NF}' <<<"$info")
}

# Waits until the screenshot shows the rest pose in the rectangle $1 $2 $3 $4 (device pixels),
# at most $5 seconds: every pixel close to the reference $6 laid over the background, which
# rules out a box, black shadows and left-over frames around it. $7 names the check and the
# screenshot; $8 is "soft" when a compositor should blend the edges, "clipped" without one.
# Idle blinks come and go, so the check waits for a screenshot at rest.
expect_rest() {
  local x=$1 y=$2 w=$3 h=$4 seconds=$5 ref=$6 name=$7 kind=$8 stats end
  end=$((SECONDS + seconds))
  while :; do
    shoot "$name"
    stats=$(python3 "$here/pixels.py" "$shots/$name.png" "$x" "$y" "$w" "$h" "$ref")
    eval "$stats"
    if rest_ok "$kind"; then ok "$name: rest pose at $x,$y ($stats)"; return 0; fi
    [ "$SECONDS" -lt "$end" ] || break
    sleep 0.3
  done
  fail "$name: not the rest pose at $x,$y within ${seconds}s ($stats); see $shots/$name.png"
  return 1
}
rest_ok() {
  # No more drawn pixels than the rest pose, within antialiasing.
  [ "$drawn" -le $((ref_drawn + ref_drawn / 50 + 20)) ] || return 1
  if [ "$1" = soft ]; then
    [ "$dark" -le $((ref_dark + ref_dark / 20 + 20)) ] && [ "$match" -ge 985 ] && [ "$edges" -ge 900 ]
  else
    # Clipped to the opaque pixels, which show undimmed by the missing blend: edges darken a
    # little, but a shadow or box drawn black would add a thousand dark pixels and more.
    [ "$dark" -le $((ref_dark + ref_dark / 4 + 20)) ] && [ "$match" -ge 950 ] &&
      [ "$drawn" -ge $((ref_drawn * 9 / 10)) ]
  fi
}

# Starts the program with the environment assignments given; `launch` may run it as another
# user. Sets `program` and `wid`, the character window.
start_program() {
  if [ -n "${launch:-}" ]; then
    $launch env LC_ALL=C.UTF-8 "$@" "$app/vembrel"
  else
    spawn env LC_ALL=C.UTF-8 "$@" "$app/vembrel"
  fi
  program=$last
  wid=$(window "$character" 30)
  [ -n "$wid" ] || { fail "the character window did not appear"; tail -n 20 "$work"/*.log; finish; }
}

# Checks that the character window stands at $1,$2, unmanaged, $3 x $4 device pixels.
expect_window_at() {
  geometry "$wid"
  if [ "$X,$Y,$W,$H" = "$1,$2,$3,$4" ] && [ "$OR" = yes ]; then
    ok "character window at $1,$2 (${W}x$H, override-redirect)"
  else
    fail "character window at $X,$Y ${W}x$H override-redirect=$OR, expected $1,$2 $3x$4"
  fi
}

# The greeting's first balloon stands beside the character's head, inside the screen.
expect_balloon_beside() {
  local b cx=$1 cy=$2 cw=$3 screen_left=$4
  b=$(window '^Vembrel 欢 迎 你 !' 30)
  [ -n "$b" ] || { fail "no greeting balloon"; return; }
  shoot greeting
  geometry "$b"
  if [ "$X" -ge "$screen_left" ] && [ $((X + W)) -le $((cx + cw / 2)) ] && [ "$Y" -lt $((cy + cw)) ] &&
    [ "$OR" = yes ]; then
    ok "balloon beside the head at $X,$Y ${W}x$H"
  else
    fail "balloon at $X,$Y ${W}x$H override-redirect=$OR, character at $cx,$cy"
  fi
}

# Drags the character by $3,$4 from the point $1,$2 of the screen.
drag() {
  xdotool mousemove "$1" "$2" sleep 0.2 mousedown 1 sleep 0.2 \
    mousemove $(($1 + $3 / 4)) $(($2 + $4 / 4)) sleep 0.1 mousemove $(($1 + $3 / 2)) $(($2 + $4 / 2)) \
    sleep 0.1 mousemove $(($1 + $3)) $(($2 + $4)) sleep 0.2 mouseup 1
  sleep 0.5
}

# Double-clicking the character opens the menu (a new unmanaged window); Escape closes it.
expect_menu() {
  local before after
  before=$(xdotool search --onlyvisible --class vembrel 2>/dev/null | wc -l)
  xdotool mousemove "$1" "$2" sleep 0.2 click --repeat 2 --delay 80 1
  for _ in $(seq 30); do
    after=$(xdotool search --onlyvisible --class vembrel 2>/dev/null | wc -l)
    [ "$after" -gt "$before" ] && break
    sleep 0.2
  done
  shoot menu
  xdotool key Escape
  if [ "$after" -gt "$before" ]; then ok "double-click opens the menu"; else fail "double-click opened nothing"; fi
}

# The greeting ends with its second thought and a last gesture.
wait_greeting() {
  wait_visible '双 击 显 示 菜 单$' 40 1 || fail "the greeting's second thought did not show"
  wait_visible '双 击 显 示 菜 单$' 40 0 || fail "the greeting's second thought did not end"
}

# Opens the menu and chooses its n-th item with the keyboard.
choose() {
  xdotool mousemove "$2" "$3" sleep 0.2 click --repeat 2 --delay 80 1 sleep 0.8
  for _ in $(seq "$1"); do xdotool key Down; sleep 0.05; done
  xdotool key Return
}

# Waits up to $2 seconds for the window matching $1 to be gone (0) or there (1) as $3 says.
wait_visible() {
  for _ in $(seq $(($2 * 5))); do
    if [ -n "$(visible "$1")" ]; then [ "$3" = 1 ] && return 0; else [ "$3" = 0 ] && return 0; fi
    sleep 0.2
  done
  return 1
}

# The tray icon: a window of ours inside trayer's panel; sets `icon` to its id.
tray_icon() {
  xwininfo -root -tree 2>/dev/null | awk '
    /"panel": \("panel" "trayer"\)/ {inside = 1; depth = index($0, "0x"); next}
    inside && index($0, "0x") <= depth && /0x/ {inside = 0}
    inside && /\("vembrel" "Vembrel"\)/ {print $1; exit}'
}
expect_tray_icon() {
  icon=""
  for _ in $(seq 50); do icon=$(tray_icon); [ -n "$icon" ] && break; sleep 0.2; done
  shoot "$2"
  if [ -z "$icon" ]; then fail "$1: no icon in the tray"; return 1; fi
  geometry "$icon"
  # Something is drawn in the icon's square: the tray's own background is flat.
  local colours
  colours=$(convert "$shots/$2.png" -crop "${W}x$H+$X+$Y" +repage -format %k info:)
  if [ "$colours" -gt 8 ]; then ok "$1: icon in the tray at $X,$Y ($colours colours)"; else fail "$1: the tray icon is blank"; fi
}

# A managed window opened over the character (as a user opens any program) stays below it.
expect_on_top() {
  spawn xmessage -geometry 400x300+$1+$2 "a window over the character"
  local other=$last order
  window '^xmessage$' 20 >/dev/null
  sleep 1
  shoot covered
  # xwininfo lists the root's children from the top down.
  order=$(xwininfo -root -children 2>/dev/null | grep -n -e "$(printf '0x%x' "$wid")" -e '"xmessage"' -e '^ *0x[0-9a-f]* (has no name): ()  4[0-9][0-9]x3[0-9][0-9]' | head -n1)
  kill "$other" 2>/dev/null
  if grep -q "$(printf '0x%x' "$wid")" <<<"$order"; then ok "a window opened later stays below the character"; else fail "a window opened later covers the character: $order"; fi
}

# The root window in one colour that compositors draw too (they ignore a plain background
# colour and paint grey or black instead).
paint_root() { "$probe" wallpaper 3060a0; }

start_trayer() {
  spawn trayer --edge top --align left --widthtype pixel --width 200 --height 32 --SetDockType false
  trayer_pid=$last
  for _ in $(seq 50); do xwininfo -root -tree 2>/dev/null | grep -q '"panel": ("panel" "trayer")' && break; sleep 0.2; done
}

start_openbox() {
  spawn openbox
  for _ in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && return; sleep 0.1; done
  fail "openbox did not start"
}

# Waits until a compositing manager runs ("yes") or none does ("no"); at most 15 seconds.
wait_compositor() {
  for _ in $(seq 150); do [ "$("$probe" compositor)" = "$1" ] && return 0; sleep 0.1; done
  return 1
}

# The colour of the screen's bottom left corner, where nothing of ours ever is.
corner() {
  shoot corner
  convert "$shots/corner.png" -crop "1x1+1+$(($(identify -format %h "$shots/corner.png") - 2))" \
    -depth 8 -format '%[hex:p{0,0}]' info:
}

# picom takes the compositor's selection first and paints a moment later, in grey over a
# root window of one colour (a plain colour is no wallpaper to it): that is when it is ready.
# When it ends, the X server shows the root colour again. Rows with picom paint the root with
# xsetroot for this, and wait at most 15 seconds.
start_picom() {
  spawn picom --backend xrender --no-fading-openclose
  picom_pid=$last
  wait_compositor yes || fail "picom did not take the compositor's selection"
  for _ in $(seq 50); do [ "$(corner)" != 3060A0 ] && return; sleep 0.3; done
  fail "picom did not paint"
}
stop_picom() {
  kill "$picom_pid"
  wait "$picom_pid" 2>/dev/null
  wait_compositor no || fail "picom did not stop"
  for _ in $(seq 50); do [ "$(corner)" = 3060A0 ] && return; sleep 0.3; done
  fail "the root window did not show again after picom"
}

finish() {
  echo "screenshots: $shots"
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ]
  exit
}

# A copy of the program the row's user can read (a clone under /root is private).
app=$work/app
mkdir -p "$app"
cp "$built/vembrel" "$built/dh.vr" "$app/"
[ ! -e "$built/vembrel.svg" ] || cp "$built/vembrel.svg" "$app/"
chmod -R a+rX "$app"

# --- Rows ----------------------------------------------------------------------------------

# The program under a window manager with a compositor: placed by the formula, unmanaged, the
# balloon beside it, the rest pose with soft edges, the menu, dragging, and staying on top.
check_with_compositor() {
  start_program
  expect_window_at 1160 0 130 160
  expect_balloon_beside 1160 0 130 0
  expect_rest 1160 0 130 160 60 "$(reference 130 160 1)" rest soft
  expect_menu 1220 90
  drag 1220 90 -220 200
  expect_window_at 940 200 130 160
  expect_rest 940 200 130 160 20 "$(reference 130 160 1)" dragged soft
  expect_on_top 800 100
}


row_openbox_picom() {
  start_xvfb
  xsetroot -solid '#3060a0'
  start_openbox
  start_picom
  check_with_compositor
}

# Starts with picom off, then turns it on, off and on again while the character rests: the
# character must follow at once (the screen is checked as soon as picom shows or leaves).
row_picom_toggle() {
  start_xvfb
  xsetroot -solid '#3060a0'
  start_openbox
  start_program
  local ref
  ref=$(reference 130 160 1)
  wait_greeting
  expect_rest 1160 0 130 160 60 "$ref" no-compositor clipped
  # The program used to look every 5 seconds; now it hears of the change at once. The rest
  # pose may wait for an idle blink to end, hence a few seconds.
  start_picom
  expect_rest 1160 0 130 160 4 "$ref" picom-started soft
  stop_picom
  expect_rest 1160 0 130 160 4 "$ref" picom-stopped clipped
  start_picom
  expect_rest 1160 0 130 160 4 "$ref" picom-restarted soft
  # Idle: the character blinks now and then; nothing else may use the processor.
  local before after
  before=$(awk '{print $14 + $15}' "/proc/$program/stat")
  sleep 20
  after=$(awk '{print $14 + $15}' "/proc/$program/stat")
  local per_mille=$(((after - before) * 1000 / ($(getconf CLK_TCK) * 20)))
  if [ "$per_mille" -le 5 ]; then
    ok "idle with picom: $((after - before)) ticks in 20 s (${per_mille} per mille of a core)"
  else
    fail "idle with picom: $((after - before)) ticks in 20 s (${per_mille} per mille of a core)"
  fi
}

row_xfwm4() {
  start_xvfb
  paint_root
  # xfwm4 keeps its settings in xfconfd, reached over a session bus of its own; xfconfd ends
  # with the bus.
  spawn dbus-daemon --session --nofork --print-address=3 3>"$work/bus"
  for _ in $(seq 50); do [ -s "$work/bus" ] && break; sleep 0.1; done
  DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$work/bus") NO_AT_BRIDGE=1 spawn xfwm4 --compositor=on
  for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break; sleep 0.1; done
  wait_compositor yes || fail "xfwm4 did not start compositing"
  check_with_compositor
}

# A tray running before the program: the icon shows, and clicking it brings a hidden
# character back.
row_tray_before() {
  start_xvfb
  paint_root
  start_openbox
  start_trayer
  start_program
  expect_tray_icon "tray before the program" tray
  expect_rest 1160 0 130 160 60 "$(reference 130 160 1)" rest clipped
  choose 11 1220 90
  if wait_visible "$character" 10 0; then ok "hidden from the menu"; else fail "the character did not hide"; fi
  shoot hidden
  geometry "$icon"
  xdotool mousemove $((X + W / 2)) $((Y + H / 2)) sleep 0.2 click 1
  if wait_visible "$character" 10 1; then ok "the tray icon shows the character again"; else fail "clicking the tray icon showed nothing"; fi
  expect_rest 1160 0 130 160 20 "$(reference 130 160 1)" shown-again clipped
}

# A tray that starts after the program (as at login), and one that restarts.
row_tray_after() {
  start_xvfb
  paint_root
  start_openbox
  start_program
  sleep 1
  start_trayer
  expect_tray_icon "tray started after the program" tray-late
  kill "$trayer_pid"
  wait "$trayer_pid" 2>/dev/null
  start_trayer
  expect_tray_icon "tray restarted" tray-restarted
}

# Two monitors, the primary one on the right: L 1280x800+0+0 and R 1024x768+1280+0. Xvfb has
# one output; RandR monitors split it as a real desktop's would.
row_two_monitors() {
  start_xvfb 2304x800
  xrandr --setmonitor L 1280/338x800/211+0+0 none
  xrandr --setmonitor '*R' 1024/270x768/203+1280+0 none
  xrandr --listmonitors | sed 's/^/     /'
  paint_root
  start_openbox
  start_program
  expect_window_at 2184 0 130 160
  expect_balloon_beside 2184 0 130 1280
  expect_rest 2184 0 130 160 60 "$(reference 130 160 1)" rest clipped
}

# Twice the pixels: placed by the formula in device-independent pixels, drawn sharp.
row_hidpi() {
  start_xvfb 2560x1600
  xsetroot -solid '#3060a0'
  start_openbox
  start_picom
  start_program QT_SCALE_FACTOR=2
  expect_window_at 2320 0 260 320
  expect_rest 2320 0 260 320 60 "$(reference 130 160 2)" rest soft
}

# Wayland compositors refuse to run as root: they run as an ordinary user, created when
# missing, in a folder of its own under /tmp (the work folder may sit in a private place).
# Sets `user`, `shared`, `runtime` (its XDG_RUNTIME_DIR), `app` (a copy it can run) and the
# function as_user.
prepare_user() {
  user=$(id -un)
  as_user() { env -i PATH="$PATH" HOME="$runtime" XDG_RUNTIME_DIR="$runtime" "$@"; }
  if [ "$(id -u)" = 0 ]; then
    user=vembrel-desktop
    id -u "$user" >/dev/null 2>&1 ||
      useradd --system --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin "$user" ||
      { fail "cannot create the user $user"; finish; }
    # XWayland, started as the user, must not make this shared folder its own.
    mkdir -p /tmp/.X11-unix && chmod 1777 /tmp/.X11-unix
    as_user() { runuser -u "$user" -- env -i PATH="$PATH" HOME="$runtime" XDG_RUNTIME_DIR="$runtime" "$@"; }
  fi
  shared=$(mktemp -d /tmp/vembrel-desktops.XXXXXX)
  trap 'cleanup; rm -rf "$shared"' EXIT
  chmod 711 "$shared"
  cp -r "$app" "$shared/app"
  app=$shared/app
  runtime=$shared/runtime
  mkdir -m 700 "$runtime"
  [ "$(id -u)" != 0 ] || chown "$user" "$runtime"
  cd "$shared"  # the user's programs start here: the caller's folder may be closed to them
}

# Runs a program as the user in the background; it writes its own pid (sets `last`), so the
# clean-up can end it.
run_as_user() {
  local name=$1
  shift
  as_user sh -c 'echo $$ >"$0"; exec "$@"' "$runtime/$name.pid" "$@" >>"$work/$name.log" 2>&1 &
  for _ in $(seq 50); do [ -s "$runtime/$name.pid" ] && break; sleep 0.1; done
  last=$(cat "$runtime/$name.pid")
  pids+=("$last")
}

# Lets this script's X tools, run as $(id -un), into the compositor's XWayland.
open_xwayland() {
  export DISPLAY=$1
  as_user env DISPLAY="$DISPLAY" XAUTHORITY="${2:-}" xhost "+si:localuser:$(id -un)" >/dev/null ||
    fail "XWayland did not let $(id -un) in"
}

# The program on a compositor's XWayland although the user asks for Qt's Wayland platform:
# where its windows stand, the balloon, the menu and dragging.
check_on_xwayland() {
  launch="run_as_user vembrel"
  start_program DISPLAY="$DISPLAY" XAUTHORITY="${2:-}" WAYLAND_DISPLAY="$1" QT_QPA_PLATFORM=wayland
  launch=""
  expect_window_at 1160 0 130 160
  expect_balloon_beside 1160 0 130 0
}

# A Wayland session: sway, headless, with XWayland. The user asks for Qt's Wayland platform;
# the program runs on XWayland all the same.
row_sway() {
  prepare_user
  cat >"$shared/sway.config" <<CONFIG
output HEADLESS-1 resolution 1280x800 position 0 0 bg #3060a0 solid_color
xwayland enable
exec sh -c 'echo "\$DISPLAY \$WAYLAND_DISPLAY" >$runtime/session'
CONFIG
  chmod 644 "$shared/sway.config"
  run_as_user sway env WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
    sway -c "$shared/sway.config"
  for _ in $(seq 100); do [ -s "$runtime/session" ] && break; sleep 0.1; done
  [ -s "$runtime/session" ] || { fail "sway did not start"; tail -n 20 "$work/sway.log"; finish; }
  local display wayland
  read -r display wayland <"$runtime/session"
  open_xwayland "$display"
  sway_shot() {
    as_user env WAYLAND_DISPLAY="$wayland" grim "$runtime/shot.png" && cp "$runtime/shot.png" "$1"
  }
  wayland_shot=sway_shot
  ok "sway runs with XWayland on $DISPLAY and $wayland as $user"

  # Without an X server the program says what is missing instead of failing on Wayland.
  as_user env WAYLAND_DISPLAY="$wayland" QT_QPA_PLATFORM=wayland "$app/vembrel" >/dev/null 2>"$work/no-x.err"
  local status=$?
  if [ "$status" = 1 ] && grep -q "XWayland" "$work/no-x.err"; then
    ok "without XWayland: status 1, $(head -c 120 "$work/no-x.err")…"
  else
    fail "without XWayland: status $status, $(head -c 300 "$work/no-x.err")"
  fi

  check_on_xwayland "$wayland"
  wait_greeting
  expect_rest 1160 0 130 160 60 "$(reference 130 160 1)" rest soft
  expect_menu 1220 90
  drag 1220 90 -220 200
  expect_window_at 940 200 130 160
  expect_rest 940 200 130 160 20 "$(reference 130 160 1)" dragged soft
}

# GNOME's compositor, headless, with XWayland. It has no screenshot interface without GNOME
# Shell, so this row checks where the windows stand, not their pixels.
row_mutter() {
  prepare_user
  as_user dbus-run-session -- sh -c 'echo $$ >"$0"; exec mutter --wayland --headless \
    --virtual-monitor 1280x800 --wayland-display=vembrel-wayland' "$runtime/mutter.pid" \
    >>"$work/mutter.log" 2>&1 &
  for _ in $(seq 50); do [ -s "$runtime/mutter.pid" ] && break; sleep 0.1; done
  pids=("$(cat "$runtime/mutter.pid")" "${pids[@]}")  # mutter first: its bus ends with it
  local display="" auth
  for _ in $(seq 150); do
    display=$(grep -o 'Using public X11 display :[0-9]*' "$work/mutter.log" | grep -o ':[0-9]*')
    auth=$(ls "$runtime"/.mutter-Xwaylandauth.* 2>/dev/null | head -n1)
    [ -n "$display" ] && [ -n "$auth" ] && break
    sleep 0.1
  done
  [ -n "$display" ] || { fail "mutter did not start XWayland"; tail -n 20 "$work/mutter.log"; finish; }
  open_xwayland "$display" "$auth"
  wayland_shot=true  # nothing to take a screenshot with
  ok "mutter runs with XWayland on $DISPLAY as $user"
  check_on_xwayland vembrel-wayland "$auth"
  expect_menu 1220 90
  drag 1220 90 -220 200
  expect_window_at 940 200 130 160
}

"row_$row"
finish
