#!/usr/bin/env bash
# The real program with a real screen reader: Orca in a private desktop session (Xvfb, its own
# D-Bus session bus, the accessibility bus, speech-dispatcher's dummy voice), reading what Orca
# says from its debug log. Each case is a line of the table at the end: what is done, and what
# Orca must say because of it. Nothing of the machine's user is used or touched: every folder a
# part might read or write is made in a private work folder.
# Usage: screen_reader_test.sh <application directory> [folder to keep Orca's log in]
set -u
if [ -z "${VEMBREL_A11Y_SESSION:-}" ]; then
  # A session bus of its own, so Orca and the accessibility bus meet no other desktop's.
  VEMBREL_A11Y_SESSION=1 exec dbus-run-session -- bash "$0" "$@"
fi
app_dir=$1
keep=${2:-}
source "$(dirname "$0")/../support/x_session.sh"

export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share
export XDG_CACHE_HOME=$work/home/.cache XDG_STATE_HOME=$work/home/.local/state
mkdir -p "$XDG_CONFIG_HOME/speech-dispatcher" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_STATE_HOME"
# Speech goes to the dummy module: nothing is played, and Orca logs every utterance anyway.
cat >"$XDG_CONFIG_HOME/speech-dispatcher/speechd.conf" <<'EOF'
LogLevel 2
AudioOutputMethod "libao"
AddModule "dummy" "sd_dummy" ""
DefaultModule dummy
EOF
# No settings store and no accessibility bus of the user's desktop.
export GSETTINGS_BACKEND=memory
unset AT_SPI_BUS_ADDRESS QT_LINUX_ACCESSIBILITY_ALWAYS_ON
orca_log=$work/orca.log
why="" program="" wid="" char_x=0 char_y=0 page="" balloon="" icon="" hidden_from=0 heard=0

# Stops the speech server Orca started on its own, which outlives its client for a while.
stop_speech_server() {
  local pid_file=$XDG_RUNTIME_DIR/speech-dispatcher/pid/speech-dispatcher.pid
  [ -s "$pid_file" ] && kill "$(cat "$pid_file")" 2>/dev/null
}
finish() {
  stop_speech_server
  [ -n "$keep" ] && mkdir -p "$keep" && cp "$orca_log" "$work"/*.err "$keep"/ 2>/dev/null
  cleanup
}
trap finish EXIT

# What Orca has said so far, one utterance a line, without blanks (the balloon's spacing and
# the speech's word breaks are not what is checked).
said() {
  sed -n "s/.*SPEECH OUTPUT: '//p" "$orca_log" 2>/dev/null |
    sed -E "s/' ?( voice=[a-z]+)? ?\{[^{}]*\}$//" | tr -d ' '
}
said_count() { said | wc -l; }

# Waits up to $3 seconds for an utterance after the first $2 that matches the extended regex
# $1 (written without blanks); sets `heard` to its line number.
wait_said() {
  local deadline=$((SECONDS + ${3:-60})) found
  while [ "$SECONDS" -lt "$deadline" ]; do
    found=$(said | tail -n +"$(($2 + 1))" | grep -Enm1 -- "$1" | cut -d: -f1)
    if [ -n "$found" ]; then
      heard=$(($2 + found))
      return 0
    fi
    sleep 0.3
  done
  return 1
}

start_desktop() {
  start_xvfb
  trayer --edge top --align left --widthtype pixel --width 200 --height 32 --SetDockType false \
    >>"$work/trayer.log" 2>&1 &
  pids+=($!)
  /usr/libexec/at-spi-bus-launcher --launch-immediately >>"$work/atspi.log" 2>&1 &
  pids+=($!)
  # Orca writes its debug log through a buffer, so its last words could wait there for the
  # next burst: this hook, for Orca alone, opens that one file line-buffered instead.
  mkdir -p "$work/orca-hook"
  cat >"$work/orca-hook/sitecustomize.py" <<'EOF'
import builtins
import os

_open = builtins.open
_log = os.environ.get("VEMBREL_ORCA_LOG")


def _open_log_line_buffered(file, mode="r", buffering=-1, *args, **kwargs):
    if _log and file == _log and "w" in mode:
        buffering = 1
    return _open(file, mode, buffering, *args, **kwargs)


builtins.open = _open_log_line_buffered
EOF
  PYTHONPATH=$work/orca-hook VEMBREL_ORCA_LOG=$orca_log \
    orca --replace --user-prefs "$work/orca-prefs" --debug-file "$orca_log" >>"$work/orca.out" 2>&1 &
  pids+=($!)
  if ! wait_said 'Screenreaderon' 0 60; then
    fail "Orca did not start"
    tail -n 30 "$work/orca.out" "$orca_log" 2>/dev/null
    echo "$passed passed, $failed failed"
    exit 1
  fi
}

# Actions the table's cases are made of.

start_program() {
  [ -x "$app_dir/vembrel" ] || return 1
  "$app_dir/vembrel" >>"$work/vembrel.out" 2>>"$work/vembrel.err" &
  program=$!
  pids+=($program)
  wid=$(window '^Vembrel 双击显示菜单$' 30)
  [ -n "$wid" ] || return 1
  eval "$(xdotool getwindowgeometry --shell "$wid")"
  char_x=$X char_y=$Y
}

# The program's command line, as a second start (answered by the running character).
vembrel() {
  timeout 20 "$app_dir/vembrel" "$@" >>"$work/vembrel.out" 2>>"$work/vembrel.err"
}

# Makes $1 the X selection (PRIMARY), held until the next selection or the end.
select_text() {
  printf '%s' "$1" | xclip -quiet -selection primary -i 2>/dev/null &
  pids+=($!)
  sleep 0.3
}

# Opens the character's menu with a double-click and picks its n-th item with the keyboard.
choose() {
  xdotool mousemove "$((char_x + 65))" "$((char_y + 90))"
  sleep 0.2
  xdotool click --repeat 2 --delay 80 1
  window '^File$' 10 >/dev/null || return 1
  for _ in $(seq "$1"); do xdotool key Down; sleep 0.05; done
  xdotool key Return
}

# Waits for the input dialog: the window named Vembrel that is not the tray icon.
input_dialog() {
  local deadline=$((SECONDS + 10)) id
  while [ "$SECONDS" -lt "$deadline" ]; do
    for id in $(xdotool search --onlyvisible --name '^Vembrel$' 2>/dev/null); do
      eval "$(xdotool getwindowgeometry --shell "$id" 2>/dev/null)"
      [ "${WIDTH:-0}" -ge 200 ] && return 0
    done
    sleep 0.2
  done
  return 1
}

# Picks the n-th item, a dictionary, and types the text into the input dialog.
look_up() {
  choose "$1" || { why="the menu did not open"; return 1; }
  input_dialog || { why="the input dialog did not open"; return 1; }
  printf '%s' "$2" | xclip -quiet -selection clipboard -i 2>/dev/null &
  local clip=$!
  sleep 0.3
  xdotool key ctrl+v
  sleep 0.3
  xdotool key Return
  kill "$clip" 2>/dev/null
}

# The balloon on show: the visible window whose name is not one of the program's other
# windows' (the character, the menu, the dialog, the tray icon) nor the tray's; its name is
# its page. Sets `balloon` and `page` (without blanks).
balloon_page() {
  local id name
  for id in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
    name=$(xdotool getwindowname "$id" 2>/dev/null) || continue
    case $name in
      "" | Vembrel | File | panel | "Vembrel 双击显示菜单") continue ;;
    esac
    balloon=$id page=$(printf '%s' "$name" | tr -d ' ')
    return 0
  done
  return 1
}

# Waits for a page of the balloon that matches $1, then clicks it to turn to the next page;
# sets `page` to that next page's text.
turn_page() {
  local deadline=$((SECONDS + 60))
  until balloon_page && [[ $page =~ $1 ]]; do
    [ "$SECONDS" -ge "$deadline" ] && return 1
    sleep 0.3
  done
  # The thoughts of one answer gather in the page as they come: it is clicked once it is full
  # and has stayed the same for a while, so the click turns the page.
  local first=$page same=0
  while [ "$same" -lt 8 ]; do
    [ "$SECONDS" -ge "$deadline" ] && return 1
    sleep 0.25
    balloon_page || return 1
    if [ "$page" = "$first" ]; then same=$((same + 1)); else first=$page same=0; fi
  done
  eval "$(xdotool getwindowgeometry --shell "$balloon")"
  xdotool mousemove "$((X + WIDTH / 2))" "$((Y + HEIGHT / 2))" click 1
  until balloon_page && [ "$page" != "$first" ]; do
    [ "$SECONDS" -ge "$deadline" ] && return 1
    sleep 0.1
  done
}

# Clicks through the balloons, as an impatient reader would, until the character is quiet:
# no balloon for several seconds in a row (gestures play between thoughts).
click_through() {
  local calm=0
  for _ in $(seq 400); do
    if balloon_page; then
      calm=0
      eval "$(xdotool getwindowgeometry --shell "$balloon" 2>/dev/null)"
      xdotool mousemove "$((X + WIDTH / 2))" "$((Y + HEIGHT / 2))" click 1
    else
      calm=$((calm + 1))
      [ "$calm" -ge 12 ] && return 0
    fi
    sleep 0.3
  done
  why="the character did not fall quiet"
  return 1
}

# The tray icon: a window of ours inside trayer's panel; sets `icon` to its id.
tray_icon() {
  icon=$(xwininfo -root -tree 2>/dev/null | awk '
    /"panel": \("panel" "trayer"\)/ {inside = 1; depth = index($0, "0x"); next}
    inside && index($0, "0x") <= depth && /0x/ {inside = 0}
    inside && /\("vembrel" "Vembrel"\)/ {print $1; exit}')
  [ -n "$icon" ]
}

# Once the balloon shows a page matching $1 (in the middle of a long thought), picks the n-th
# item ($2) of the tray icon's menu, which hides the character at once; waits until it is gone,
# and then as long as the thought's next page would have taken to come.
hide_from_tray_while_thinking() {
  local deadline=$((SECONDS + 60))
  until balloon_page && [[ $page =~ $1 ]]; do
    [ "$SECONDS" -ge "$deadline" ] && { why="no page matching $1"; return 1; }
    sleep 0.3
  done
  tray_icon || { why="no tray icon"; return 1; }
  eval "$(xdotool getwindowgeometry --shell "$icon")"
  xdotool mousemove "$((X + WIDTH / 2))" "$((Y + HEIGHT / 2))" sleep 0.2 click 3
  sleep 0.8
  for _ in $(seq "$2"); do xdotool key Down; sleep 0.05; done
  xdotool key Return
  for _ in $(seq 50); do [ -z "$(visible '^Vembrel 双击显示菜单$')" ] && break; sleep 0.2; done
  [ -z "$(visible '^Vembrel 双击显示菜单$')" ] || { why="the character stayed"; return 1; }
  hidden_from=$(said_count)
  sleep 16  # a page of a long thought stays up for about 13 seconds
}

# The balloon's page as Orca says it: its text without blanks, as a regex.
as_said() { printf '%s' "$1" | sed 's/[][\\.^$*+?(){}|]/\\&/g'; }

# The cases. `check` runs the action, then waits for the expected utterance after the one
# the case before heard (Orca writes its log in bursts, so an utterance may be there before
# the action is done). The expected text is expanded when the action is done, so it may name
# what the action found. "(nothing)" expects no balloon spoken since the action's mark
# `hidden_from`.
check() {
  local name=$1 action=$2 expected=$3 before=$heard
  if ! eval "$action"; then
    fail "$name: could not $action${why:+ ($why)}"
    why=""
    return
  fi
  if [ "$expected" = "(nothing)" ]; then
    if said | tail -n +"$((hidden_from + 1))" | grep -q 'Vembrel'; then
      fail "$name: said $(said | tail -n +"$((hidden_from + 1))" | grep 'Vembrel' | head -n 3)"
    else
      ok "$name"
    fi
    heard=$(said_count)
    return
  fi
  expected=$(eval "printf '%s' \"$expected\"")
  if wait_said "$expected" "$before"; then
    ok "$name"
  else
    fail "$name: nothing said matching $expected; said since: $(said | tail -n +"$((before + 1))" | tail -n 8 | tr '\n' '|')"
  fi
}

start_desktop

# The actions: start_program, look_up <n-th menu item> <text>, turn_page <regex of the page>,
# click_through, hide_from_tray_while_thinking <regex of a page> <n-th tray menu item>,
# vembrel <options…>, select_text <text>; several joined with &&.
# name                  | what is done                         | what Orca says (no blanks)
while IFS='|' read -r name action expected; do
  name=$(echo "$name" | xargs) action=$(echo "$action" | sed 's/^ *//; s/ *$//')
  expected=$(echo "$expected" | sed 's/^ *//; s/ *$//')
  [ -z "$name" ] || [ "${name:0:1}" = "#" ] && continue
  check "$name" "$action" "$expected"
  # Every case after the first needs the program running; one that ends it on purpose starts
  # it again (start_program) before it is done.
  if [ -z "$program" ] || ! kill -0 "$program" 2>/dev/null; then
    fail "the program is not running: no further case can pass"
    break
  fi
done <<'CASES'
the greeting           | start_program                        | Vembrel.*欢迎你
how to open the menu   |                                      | 双击显示菜单
a menu lookup          | look_up 4 画蛇添足                    | 共有1条含有“画蛇添足”的词
its entry              |                                      | 比喻做了多余的事
a command-line lookup  | vembrel --in cy 画蛇添足              | 共有1条含有“画蛇添足”的词
its entry, again       |                                      | 比喻做了多余的事
a selection lookup     | select_text 外甥打灯笼 && vembrel --selection | 歇后词典
the answer of it       |                                      | 照旧
a second page          | look_up 7 诸侯自战其地 && turn_page 诸侯自战其地 | $(as_said "$page")
nothing while hidden   | click_through && look_up 7 不远之复 && hide_from_tray_while_thinking 不远之复 2 | (nothing)
CASES

# Every page is said once: no balloon text follows the same text at once.
repeated=$(said | awk '/^notificationVembrel/ {getline text; if (text == last) print text; last = text}')
if [ -z "$repeated" ]; then ok "each page said once"; else fail "said twice: $repeated"; fi

if [ "$failed" -ne 0 ]; then
  echo "--- program's standard error:"; cat "$work/vembrel.err"
  echo "--- Orca's last words:"; said | tail -n 20
fi
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
