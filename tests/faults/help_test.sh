#!/usr/bin/env bash
# The real program in Xvfb, driven with xdotool: help (menu item 10) on desktops where no viewer
# can show the file. xdg-open exiting 3 (no handler), xdg-open missing, and a terminal program as
# the only text viewer all bring up the program's own window, titled 使用帮助, with the file's
# text (read back through the clipboard), once, and Esc closes it. A viewer that works is left
# to show it alone.
# Usage: help_test.sh <application directory>
set -u
built=$1
source "$(dirname "$0")/../support/x_session.sh"
start_xvfb

# A copy of the application directory at $1 (the program finds its files beside itself).
make_app() {
  mkdir -p "$1" && cp -r "$built/vembrel" "$built/dh.vr" "$built/data" "$built/使用帮助.txt" "$1/"
}
# A program $1 in folder $2 that does $3 and writes down that it ran.
fake() {
  mkdir -p "$2"
  printf '#!/bin/sh\necho "$0 $*" >>"%s/ran"\n%s\n' "$work" "$3" >"$2/$1"
  chmod +x "$2/$1"
}

# Starts the program of $1 with PATH $2; sets `program`, `char_x` and `char_y`.
start_program() {
  PATH=$2 "$1/vembrel" >/dev/null 2>"$work/program.err" &
  program=$!
  pids+=($program)
  local wid
  wid=$(window '^Vembrel 双击显示菜单$' 30)
  [ -n "$wid" ] || { fail "the character did not appear"; cat "$work/program.err"; return 1; }
  eval "$(xdotool getwindowgeometry --shell "$wid")"
  char_x=$X char_y=$Y
}
ask_help() {
  xdotool mousemove "$((char_x + 65))" "$((char_y + 90))" sleep 0.2 click --repeat 2 --delay 80 1 sleep 0.6
  xdotool key --delay 30 $(printf 'Down %.0s' $(seq 10)) Return
}
count_help_windows() { xdotool search --onlyvisible --name '^使用帮助$' 2>/dev/null | wc -l; }
# The help window's whole text, copied to the clipboard from its keyboard (waiting up to 10 s
# for the clipboard to fill).
help_text() {
  printf '' | xclip -selection clipboard
  xdotool windowfocus --sync "$1" key --delay 50 ctrl+a ctrl+c 2>/dev/null
  local text
  for _ in $(seq 100); do
    text=$(xclip -o -selection clipboard 2>/dev/null)
    [ -n "$text" ] && break
    sleep 0.1
  done
  printf '%s' "$text"
}

# Asks for help and checks the program's own window: $1 names the case, $2 the expected text.
expect_own_help() {
  : >"$work/ran"
  ask_help
  local help
  help=$(window '^使用帮助$' 20)
  if [ -z "$help" ]; then
    fail "$1: no window titled 使用帮助"; cat "$work/program.err"; return
  fi
  local text
  text=$(help_text "$help")
  if [ "$text" = "$2" ]; then ok "$1: the own window shows the file"; else fail "$1: the window shows $(printf '%s' "$text" | head -c 200)"; fi
  ask_help
  sleep 1
  if [ "$(count_help_windows)" = 1 ]; then ok "$1: asked again, still one window"; else fail "$1: $(count_help_windows) help windows"; fi
  xdotool windowfocus --sync "$help" key Escape
  for _ in $(seq 50); do [ "$(count_help_windows)" = 0 ] && break; sleep 0.1; done
  if [ "$(count_help_windows)" = 0 ]; then ok "$1: Esc closes it"; else fail "$1: Esc left the window open"; fi
}

expected=$(cat "$built/使用帮助.txt")

# 1. xdg-open finds no handler and exits 3; xdg-mime names no default viewer.
make_app "$work/app"
fake xdg-open "$work/no-handler" 'exit 3'
fake xdg-mime "$work/no-handler" 'exit 0'
if start_program "$work/app" "$work/no-handler:$PATH"; then
  expect_own_help "xdg-open exits 3" "$expected"
  grep -q 'xdg-open' "$work/ran" 2>/dev/null || fail "xdg-open exits 3: xdg-open was not asked"
  kill "$program"; wait "$program" 2>/dev/null
fi

# 2. No xdg-open or xdg-mime at all, and the help file in GBK.
make_app "$work/gbk"
iconv -f UTF-8 -t GBK "$built/使用帮助.txt" >"$work/gbk/使用帮助.txt"
mkdir -p "$work/nothing"
if start_program "$work/gbk" "$work/nothing"; then
  expect_own_help "no xdg-open, the file in GBK" "$expected"
  kill "$program"; wait "$program" 2>/dev/null
fi

# 3. The only text viewer is a terminal program: xdg-open is not asked at all.
fake xdg-open "$work/terminal" 'exit 0'
fake xdg-mime "$work/terminal" 'echo term-viewer.desktop'
mkdir -p "$work/share/applications"
printf '[Desktop Entry]\nType=Application\nName=Term viewer\nExec=vi %%F\nTerminal=true\nMimeType=text/plain;\n' \
  >"$work/share/applications/term-viewer.desktop"
if XDG_DATA_HOME=$work/share start_program "$work/app" "$work/terminal:$PATH"; then
  expect_own_help "a terminal viewer only" "$expected"
  grep -q 'xdg-open' "$work/ran" 2>/dev/null && fail "a terminal viewer only: xdg-open was started"
  kill "$program"; wait "$program" 2>/dev/null
fi

# 4. A viewer that opens the file: no window of the program's own.
fake xdg-open "$work/viewer" 'exit 0'
fake xdg-mime "$work/viewer" 'exit 0'
if start_program "$work/app" "$work/viewer:$PATH"; then
  : >"$work/ran"
  ask_help
  for _ in $(seq 100); do grep -q xdg-open "$work/ran" && break; sleep 0.1; done
  if ! grep -q xdg-open "$work/ran"; then
    fail "a working viewer: xdg-open was not started"
  elif [ -n "$(window '^使用帮助$' 3)" ]; then
    fail "a working viewer: the program showed its own window too"
  else
    ok "a working viewer: only the viewer shows the file"
  fi
  kill "$program"; wait "$program" 2>/dev/null
fi

echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
