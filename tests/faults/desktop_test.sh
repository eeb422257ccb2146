#!/usr/bin/env bash
# The real program in Xvfb, driven with xdotool: bad character files, the help file in an odd
# folder and missing, many quick 下一个词 from the menu, and the X server going away.
# Usage: desktop_test.sh <application directory>
set -u
built=$1
source "$(dirname "$0")/../support/x_session.sh"

# A copy of the application directory at $1 (the program finds its files beside itself).
make_app() {
  mkdir -p "$1" && cp -r "$built/vembrel" "$built/dh.vr" "$built/data" "$built/使用帮助.txt" "$1/"
  [ ! -e "$built/vembrel.svg" ] || cp "$built/vembrel.svg" "$1/"
}

# Waits up to $2 tenths of a second for process $1 to end; its status is in `status`.
wait_end() {
  for _ in $(seq "$2"); do kill -0 "$1" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$1" 2>/dev/null; then kill -9 "$1" 2>/dev/null; wait "$1" 2>/dev/null; status=timeout; return 1; fi
  wait "$1"; status=$?
}

start_xvfb

# 1. Bad character files: exit status 1, the problem named on standard error, and a dialog
# titled Vembrel that Return closes. Rows: name, how to break $vr, what stderr must say.
bad=$work/bad
make_app "$bad"
vr=$bad/dh.vr
cp "$vr" "$work/good.vr"
edit() {  # a Python statement changing the character `c`, written to $vr
  python3 - "$work/good.vr" "$vr" "$1" <<'PY'
import json, sys
c = json.load(open(sys.argv[1]))
first = next(iter(c["frames"]))
exec(sys.argv[3])
json.dump(c, open(sys.argv[2], "w"))
PY
}
while IFS='|' read -r name make says; do
  rm -rf "$vr" && cp "$work/good.vr" "$vr"
  eval "$make"
  "$bad/vembrel" >/dev/null 2>"$work/err" &
  program=$!
  pids+=($program)
  dialog=$(window '^Vembrel$' 15)
  [ -n "$dialog" ] && { xdotool windowfocus --sync "$dialog" 2>/dev/null; xdotool key Return; }
  wait_end "$program" 50
  if [ -z "$dialog" ]; then
    fail "$name: no dialog; status $status (timeout: still running after 20 s)"; head -c 400 "$work/err"
  elif [ "$status" != 1 ]; then
    fail "$name: status $status after Return on the dialog, expected 1"; head -c 400 "$work/err"
  elif ! grep -qF "vembrel: cannot load the character: $vr: $says" "$work/err"; then
    fail "$name: standard error does not say \"$says\":"; head -c 400 "$work/err"
  else
    ok "$name"
  fi
done <<'ROWS'
missing|rm "$vr"|no such file
a directory|rm "$vr"; mkdir "$vr"|not a regular file
empty|: >"$vr"|bad JSON at line 1
not JSON|printf '{"format": "vembrel-character",\n "name": oops}\n' >"$vr"|bad JSON at line 2
missing animation|edit 'del c["animations"]["decline"]'|missing animation "decline"
a frame that is not SVG|edit 'c["frames"][first] = "<html>not a drawing</html>"'|frame "f000" is not a valid SVG
a frame cut short|edit 'c["frames"][first] = c["frames"][first][:60]'|frame "f000" is not a valid SVG
a frame of no size|edit 'c["frames"][first] = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"0\" height=\"0\"/>"'|frame "f000"
an absurd canvas|edit 'c["width"] = 1e9'|size 1e+09 x 160 is outside 1 to 4096 pixels
an absurd frame|edit 'c["frames"][first] = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"1000000\" height=\"1000000\"><rect width=\"10\" height=\"10\"/></svg>"'|frame "f000" is larger than 4096 pixels
ROWS

# 2. The help file in a folder whose name holds blanks, quotes, "$(...)" and Chinese: the
# viewer gets one argument naming exactly that file, and no shell ever runs the name.
odd="$work/帮助 \"文件\" 's \$(touch $work/ran-in-a-shell) x"
make_app "$odd"
mkdir -p "$work/fakebin"
printf '#!/bin/sh\nprintf "%%s\\n" "$#" "$@" >>"%s/viewer-args"\n' "$work" >"$work/fakebin/xdg-open"
chmod +x "$work/fakebin/xdg-open"
# and no default text viewer known, so that a terminal program registered here is not it
printf '#!/bin/sh\nexit 0\n' >"$work/fakebin/xdg-mime"
chmod +x "$work/fakebin/xdg-mime"
PATH="$work/fakebin:$PATH" "$odd/vembrel" >/dev/null 2>"$work/program.err" &
program=$!
pids+=($program)
wid=$(window '^Vembrel 双击显示菜单$' 30)
[ -n "$wid" ] || { fail "the character did not appear"; cat "$work/program.err"; echo "$passed passed, $failed failed"; exit 1; }
eval "$(xdotool getwindowgeometry --shell "$wid")"
char_x=$X char_y=$Y
window '双 击 显 示 菜 单$' 20 >/dev/null
choose() {  # opens the menu and picks its n-th item with the keyboard
  xdotool mousemove "$((char_x + 65))" "$((char_y + 90))"
  sleep 0.1
  xdotool click --repeat 2 --delay 80 1
  sleep 0.4
  xdotool key --delay 15 $(printf 'Down %.0s' $(seq "$1")) Return
}
choose 10
for _ in $(seq 50); do [ -s "$work/viewer-args" ] && break; sleep 0.1; done
if [ ! -s "$work/viewer-args" ]; then
  fail "help: the viewer was not started"
else
  opened=$(python3 -c '
import sys, urllib.parse
lines = open(sys.argv[1], encoding="utf-8", errors="surrogateescape").read().split("\n")
arg = lines[1] if lines[0] == "1" else "(%s arguments)" % lines[0]
u = urllib.parse.urlsplit(arg)
print(urllib.parse.unquote(u.path) if u.scheme == "file" else arg)' "$work/viewer-args")
  if [ "$opened" = "$odd/使用帮助.txt" ]; then ok "help: one argument naming exactly the file"; else fail "help: the viewer got $(head -c 300 "$work/viewer-args")"; fi
fi
if [ -e "$work/ran-in-a-shell" ]; then fail "help: the folder name ran in a shell"; else ok "help: nothing ran through a shell"; fi

# The help file missing: the character declines and says which file, over one or more pages.
rm "$odd/使用帮助.txt"
: >"$work/viewer-args"
choose 10
said=
for _ in $(seq 150); do
  # Each page is read, then clicked to turn it: a long page stays up for its reading time.
  said+=$(xdotool search --onlyvisible --name '.' 2>/dev/null | grep -vx "$wid" | while read -r b; do
    xdotool getwindowname "$b"
    eval "$(xdotool getwindowgeometry --shell "$b")"
    xdotool mousemove "$((X + WIDTH / 2))" "$((Y + HEIGHT / 2))" click 1
  done)
  flat=${said// /} flat=${flat//　/}  # the balloon draws a gap between words full width
  case "$flat" in *"无法打开帮助文件${odd// /}/使用帮助.txt：文件不存在"*) break ;; esac
  sleep 0.4
done
case "$flat" in
  *"无法打开帮助文件${odd// /}/使用帮助.txt：文件不存在"*) ok "help missing: the character names the file" ;;
  *) fail "help missing: the character said: $(printf '%s' "$said" | head -c 300)" ;;
esac
[ -s "$work/viewer-args" ] && fail "help missing: the viewer was started anyway"

# 3. Many quick 下一个词 from the menu: the character keeps up (each one stops the last) and
# memory stays put.
sleep 2
choose 4
dialog=$(window '^Vembrel$' 10)
if [ -z "$dialog" ]; then
  fail "next entries: the input dialog did not open"
else
  printf '一' | xclip -quiet -selection clipboard -i 2>/dev/null &
  clip=$!
  sleep 0.3
  xdotool key ctrl+v
  sleep 0.2
  xdotool key Return
  kill "$clip" 2>/dev/null
  window '第 1条：' 20 >/dev/null
  rss_before=$(awk '/^VmRSS/ {print $2}' "/proc/$program/status")
  for _ in $(seq 24); do choose 9; done
  if [ -n "$(window '第 25条：' 30)" ]; then ok "24 quick next entries: the character reads entry 25"; else fail "24 quick next entries: no balloon for entry 25"; fi
  rss_after=$(awk '/^VmRSS/ {print $2}' "/proc/$program/status" 2>/dev/null)
  if [ -n "$rss_after" ] && [ "$rss_after" -le $((rss_before + 40000)) ]; then
    ok "24 quick next entries: memory $rss_before -> $rss_after kB"
  else
    fail "24 quick next entries: memory $rss_before -> ${rss_after:-gone} kB"
  fi
fi
choose 12
if wait_end "$program" 50 && [ "$status" = 0 ]; then ok "quit after all that"; else fail "quit: status $status"; cat "$work/program.err"; fi

# 4. The X server going away: the program ends at once with status 1 and says why.
kill "$xvfb"
wait "$xvfb" 2>/dev/null
start_xvfb
"$odd/vembrel" >/dev/null 2>"$work/gone.err" &
program=$!
pids+=($program)
if [ -z "$(window '^Vembrel 双击显示菜单$' 30)" ]; then
  fail "X server gone: the character did not appear"; cat "$work/gone.err"
else
  sleep 1
  kill "$xvfb"
  if ! wait_end "$program" 50; then
    fail "X server gone: the program still ran 5 s later"
  elif [ "$status" != 1 ]; then
    fail "X server gone: status $status, expected 1"; head -c 400 "$work/gone.err"
  elif ! grep -qi 'x11\|display\|x server' "$work/gone.err"; then
    fail "X server gone: no message on standard error"
  else
    ok "X server gone: status 1 and \"$(head -n1 "$work/gone.err")\""
  fi
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
