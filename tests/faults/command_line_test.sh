#!/usr/bin/env bash
# Lookups from the command line and the selection, with the real program in Xvfb: answered
# by a new program after its greeting, or by the running one; every dictionary, the program's
# own choice, an empty selection, a long selection, text that is not Chinese, and usage
# errors. What the character thinks is read from its balloon's window title.
# Usage: command_line_test.sh <application directory>
set -u
app=$1
source "$(dirname "$0")/../support/x_session.sh"
start_xvfb

# Turns the pages of every balloon until the character falls quiet, so that the next answer
# need not wait behind this one.
skip_to_quiet() { click_until_quiet "$character" 6 0.25; }

# Runs vembrel with the arguments given and sets `status`, `out` and `err`; a later start must
# be done within ten seconds.
run() {
  timeout 10 "$app/vembrel" "$@" >"$work/run.out" 2>"$work/run.err"
  status=$?
  out=$(cat "$work/run.out") err=$(cat "$work/run.err")
}

long=$(printf '一%.0s' $(seq 10000))

# 1. Usage errors: one line on standard error and status 2, with or without a display, and
# no character started. Rows: name, arguments.
while IFS='|' read -r name arguments; do
  eval "set -- $arguments"
  for display in "$DISPLAY" ""; do
    DISPLAY=$display run "$@"
    lines=$(printf '%s\n' "$err" | grep -c .)
    if [ "$status" = 2 ] && [ "$lines" = 1 ] && [ -z "$out" ] && [[ $err == vembrel:* ]]; then
      ok "$name${display:+ (display)}"
    else
      fail "$name${display:+ (display)}: status $status, stderr: $err"
    fi
  done
done <<'ROWS'
unknown option|--bogus 好
unknown short option|-x 好
bad DICT|--in xx 好
DICT in capitals|--in CY 画蛇添足
--in without a text|--in cy
--in without its value|--in
a text and --selection|--selection 画蛇添足
--selection and --clipboard|--selection --clipboard
a text of blanks alone|' '
ROWS
[ -z "$(xdotool search --name 'Vembrel' 2>/dev/null)" ] && ok "usage errors start no character" ||
  fail "a usage error started a character"

DISPLAY= run --help
for option in --in --selection --clipboard --help --version; do
  [[ $out == *"$option"* ]] || fail "--help does not list $option"
done
[ "$status" = 0 ] && ok "--help without a display lists the options" || fail "--help: $status"

# 2. No program runs: a lookup starts one, which greets and then answers.
"$app/vembrel" --in cy 画蛇添足 >>"$work/vembrel.out" 2>>"$work/vembrel.err" &
program=$!
pids+=($program)
character=$(window '^Vembrel 双击显示菜单$' 30)
[ -n "$character" ] || { fail "no character appeared"; cat "$work/vembrel.err"; exit 1; }
expect_thought "a first start greets" '^Vembrel 欢 迎 你 !'
expect_thought "then answers" '共 有 [0-9]+ 条 含 有 “ 画蛇添足 ” 的 词'
expect_thought "with the idiom" '画 蛇 添 足'
skip_to_quiet || fail "the first answer did not end"

# 3. The running program answers; the later start exits 0 at once. Rows: name, arguments,
# the thoughts expected in order (regular expressions, separated by ';').
# Nothing is selected or copied yet at the start of this table.
selection_rows() {
  cat <<'ROWS'
empty selection and clipboard|--selection|^没 有 选 中 的 文 字$
empty clipboard|--clipboard|^剪 贴 板 里 没 有 文 字$
@clipboard 画蛇添足|--selection|^成 语 词 典;“ 画蛇添足 ”
@clipboard 画蛇添足|--clipboard|^成 语 词 典;“ 画蛇添足 ”
@primary 外甥打灯笼|--selection|^歇 后 词 典;“ 外甥打灯笼 ”;外 甥 打 灯 笼
@primary 外甥打灯笼|--in cy --selection|^没 有 找 到 哦 !$
@primary  \n 鸭\n\t|--selection|^新 华 字 典;鸭[ 　]
@primary $long|--selection|^没 有 找 到 哦 !$
@primary hello world|--selection|^没 有 找 到 哦 !$
ROWS
}
text_rows() {
  cat <<'ROWS'
xh|--in xh 外甥打灯笼|“ 外甥打灯笼 ”;外 甥 打 灯 笼
zd|--in zd 鸭|鸭[ 　]
zd, two hanzi|--in zd 鸭鸭|^没 有 找 到 哦 !$
cy|--in cy 一心|“ 一心 ”;第 1条：
ty|--in ty 美丽|“ 美丽 ”;美 丽
fy|--in fy 高兴|“ 高兴 ”;高 兴
gw|--in gw 学而时习之|“ 学而时习之 ”;第 1条：
chosen: an idiom|画蛇添足|^成 语 词 典;“ 画蛇添足 ”
chosen: a saying|外甥打灯笼|^歇 后 词 典;“ 外甥打灯笼 ”
chosen: a hanzi|鸭|^新 华 字 典;鸭[ 　]
chosen: classical Chinese|子游问孝|^古 文 词 典;“ 子游问孝 ”
words joined by a blank|hello world|^没 有 找 到 哦 !$
not Chinese|hello|^没 有 找 到 哦 !$
10,000 hanzi|"$long"|^没 有 找 到 哦 !$
a text after --|-- -1|^没 有 找 到 哦 !$
ROWS
}
clip=
while IFS='|' read -r name arguments thoughts; do
  if [[ $name == @* ]]; then
    # Put the text on the selection (xclip keeps serving it until another owner takes over).
    read -r where text <<<"${name#@}"
    eval "text=\"$text\""
    [ -z "$clip" ] || kill "$clip" 2>/dev/null
    printf '%b' "$text" | xclip -quiet -selection "$where" -i 2>/dev/null &
    clip=$!
    pids+=($clip)
    sleep 0.3
    name="$where '${text:0:12}'"
  fi
  eval "set -- $arguments"
  run "$@"
  if [ "$status" != 0 ] || [ -n "$err" ]; then fail "$name ($arguments): status $status, stderr: $err"; continue; fi
  IFS=';' read -ra expected <<<"$thoughts"
  for thought in "${expected[@]}"; do expect_thought "$name ($arguments): $thought" "$thought" 20; done
  skip_to_quiet || fail "$name: the answer did not end"
done < <(selection_rows; text_rows)
[ -z "$clip" ] || kill "$clip" 2>/dev/null

# 4. A hidden character comes back to answer. It is hidden from the tray's 隐藏 item, which the
# program shares with the character's menu; here the character's menu is used.
xdotool mousemove $((1160 + 65)) 90 && sleep 0.2 && xdotool click --repeat 2 --delay 80 1
sleep 0.6
for _ in $(seq 11); do xdotool key Down; sleep 0.05; done
xdotool key Return
for _ in $(seq 50); do [ -z "$(visible '^Vembrel 双击显示菜单$')" ] && break; sleep 0.2; done
if [ -z "$(visible '^Vembrel 双击显示菜单$')" ]; then
  run 画蛇添足
  [ "$status" = 0 ] && [ -n "$(window '^Vembrel 双击显示菜单$' 10)" ] && ok "a lookup shows a hidden character" ||
    fail "a lookup did not show the hidden character (status $status)"
  expect_thought "and it answers" '^成 语 词 典'
else
  fail "the character did not hide"
fi

kill -0 "$program" 2>/dev/null && ok "the first program still runs" || fail "the first program is gone"
if [ "$failed" -ne 0 ]; then echo "--- program's standard error:"; cat "$work/vembrel.err"; fi
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
