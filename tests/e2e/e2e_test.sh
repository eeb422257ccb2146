#!/usr/bin/env bash
# End to end: the real program in a real X server (Xvfb), driven with xdotool as a person
# would: double-click the character, pick menu items with the keyboard, type Chinese through
# the clipboard, and read what the character thinks from the balloon's window title.
# Usage: e2e_test.sh <application directory> <folder for screenshots>
set -u
app_dir=$1
shots=$2
mkdir -p "$shots"
source "$(dirname "$0")/../support/x_session.sh"
start_xvfb
shot() { import -window root "$shots/$1.png" 2>/dev/null; }

# Clicks through the balloons, as an impatient reader would, until the character is quiet.
# Gestures play between thoughts, so quiet means no balloon for several seconds in a row.
wait_quiet() { click_until_quiet "$wid" 12 0.3; }

start_program() {
  "$app_dir/vembrel" >>"$work/vembrel.out" 2>>"$work/vembrel.err" &
  program=$!
  pids+=($program)
}

double_click_character() {
  xdotool mousemove "$((char_x + 65))" "$((char_y + 90))"
  sleep 0.2
  xdotool click --repeat 2 --delay 80 1
}

# Opens the menu and picks its n-th item (1-based) with the keyboard.
choose() {
  double_click_character
  sleep 0.6
  shot "menu-$2"
  for _ in $(seq "$1"); do xdotool key Down; sleep 0.05; done
  xdotool key Return
}

# Types a text into the input dialog through the clipboard (xdotool type drops CJK under load).
answer() {
  local dialog
  dialog=$(window '^Vembrel$' 10)
  [ -n "$dialog" ] || { fail "input dialog did not open"; return 1; }
  if [ -n "$1" ]; then
    printf '%s' "$1" | xclip -quiet -selection clipboard -i 2>/dev/null &
    local clip=$!
    sleep 0.3
    xdotool key ctrl+v
    sleep 0.3
    shot "dialog-$2"
    xdotool key Return
    kill "$clip" 2>/dev/null
  else
    shot "dialog-$2"
    xdotool key Escape
  fi
}

# 1. Start-up: the character at the top right, greeting.
start_program
wid=$(window '^Vembrel 双击显示菜单$' 30)
if [ -z "$wid" ]; then
  fail "the character window did not appear"; cat "$work/vembrel.err"
  echo "$passed passed, $failed failed"; exit 1
fi
eval "$(xdotool getwindowgeometry --shell "$wid")"
char_x=$X char_y=$Y
if [ "$X" = 1160 ] && [ "$Y" = 0 ]; then ok "character placed at 1280-120, 0"; else fail "character at $X,$Y"; fi
expect_thought "greeting" '^Vembrel 欢 迎 你 !'
shot greeting
expect_thought "how to open the menu" '双 击 显 示 菜 单'
wait_quiet || fail "the greeting did not end"

# 2. A single click and a right-click open nothing.
before=$(xdotool search --onlyvisible --name '.*' 2>/dev/null | wc -l)
xdotool mousemove "$((char_x + 65))" "$((char_y + 90))" click 1
sleep 0.8
xdotool click 3
sleep 0.8
after=$(xdotool search --onlyvisible --name '.*' 2>/dev/null | wc -l)
if [ "$before" = "$after" ]; then ok "single and right click open nothing"; else fail "a click opened a window ($before -> $after)"; fi
xdotool key Escape

# 3. 成语词典 with 一心, then 下一个词.
choose 4 chengyu
answer 一心 chengyu
expect_thought "idiom count" '^共 有 [0-9]+ 条 含 有 “ 一心 ” 的 词'
expect_thought "first idiom" '第 1条：'
shot chengyu
choose 9 next
expect_thought "next idiom" '^第 2条：'
shot next

# 4. 新华字典 with 好.
choose 3 zidian
answer 好 zidian
expect_thought "character entry" '^好[ 　].*'
shot zidian

# 5. Cancelling the dialog announces nothing.
sleep 3
choose 4 cancel
answer "" cancel
sleep 3
if [ -z "$(visible '^共 有 |^没 有 找 到')" ]; then ok "cancel announces nothing"; else fail "cancel announced something"; fi

# 6. Hide, and a second launch brings the character back.
wait_quiet || fail "the character did not fall quiet"
choose 11 hide
for _ in $(seq 50); do [ -z "$(visible '^Vembrel 双击显示菜单$')" ] && break; sleep 0.2; done
if [ -z "$(visible '^Vembrel 双击显示菜单$')" ]; then ok "hide removes the character"; else fail "character still visible after hide"; fi
shot hidden
timeout 10 "$app_dir/vembrel" 2>>"$work/vembrel.err"
status=$?
if [ "$status" = 0 ] && [ -n "$(window '^Vembrel 双击显示菜单$' 10)" ]; then
  ok "a second launch shows the running character and exits"
else
  fail "second launch: status $status"
fi
shot shown-again
if kill -0 "$program" 2>/dev/null; then ok "the first program still runs"; else fail "the first program is gone"; fi

# 7. Quit ends the process.
sleep 1
choose 12 quit
for _ in $(seq 50); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$program" 2>/dev/null; then
  fail "quit did not end the program"
else
  wait "$program"; status=$?
  [ "$status" = 0 ] && ok "quit ends the program" || fail "quit ended with status $status"
fi

if [ "$failed" -ne 0 ]; then echo "--- program's standard error:"; cat "$work/vembrel.err"; fi
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
