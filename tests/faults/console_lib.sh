# Shared by the console fault tests: a temporary application directory holding a copy of
# vembrel-console, a way to run it with a time limit, and pass/fail counting.
# Source it after setting `console` to the binary under test.
set -u
export LC_ALL=C.UTF-8
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
app=$work/app
mkdir -p "$app/data" "$work/elsewhere"
cp "$console" "$app/vembrel-console"

passed=0 failed=0
ok() { echo "ok   $1"; passed=$((passed + 1)); }
fail() { echo "FAIL $1"; failed=$((failed + 1)); }
summary() {
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}

# The start-up operations, which every run prints before reading commands.
start_lines=11

# GBK bytes of UTF-8 text given as printf format.
gbk() { printf "$@" | iconv -f UTF-8 -t GBK; }

# A text as the character thinks it: every character followed by a blank.
spaced() { printf '%s' "$1" | sed 's/./& /g'; }

# Runs the console on commands (printf %b escapes) with a time limit of $2 seconds (10 by
# default). Sets `ops` (what it printed after start-up), `status` and `seconds`; its standard
# error is in $work/err and its peak memory in kB in `peak_kb` (0 where it cannot be told).
run_console() {
  local limit=${2:-10} began ended
  printf '%b' "$1" >"$work/in"
  began=$(date +%s%N)
  if [ -x /usr/bin/time ]; then
    (cd "$work/elsewhere" && /usr/bin/time -o "$work/peak" -f %M \
      timeout -k 2 "$limit" "$app/vembrel-console" <"$work/in" >"$work/out" 2>"$work/err")
  else
    (cd "$work/elsewhere" && timeout -k 2 "$limit" "$app/vembrel-console" \
      <"$work/in" >"$work/out" 2>"$work/err")
  fi
  status=$?
  ended=$(date +%s%N)
  seconds=$(((ended - began) / 1000000000))
  peak_kb=$(tail -n1 "$work/peak" 2>/dev/null | grep -E '^[0-9]+$' || echo 0)
  ops=$(tail -n +$((start_lines + 1)) "$work/out")
}

# Checks the last run: exit status 0 and exactly the expected operations.
expect_ops() {  # name, expected operations
  if [ "$status" != 0 ]; then
    fail "$1: exit status $status$([ "$status" = 124 ] && echo ' (timed out)')"
    head -c 600 "$work/err"
  elif [ "$ops" != "$2" ]; then
    fail "$1: operations differ"
    diff <(printf '%s\n' "$2") <(printf '%s\n' "$ops") | cut -c1-200 | head -20
  else
    ok "$1"
  fi
}

# Operations for a phrase search that finds nothing.
no_match="Play gestureright
Play decline
Play dontrecognize
Think 没 有 找 到 哦 !"

# Operations for a search that finds `count` rows and reads the first (head, tail as shown).
found() {  # count, query, head, tail
  printf 'Play gestureright\nThink 共 有 %s 条 含 有 “ %s ” 的 词\n' "$1" "$2"
  printf 'Play gestureright\nThink 第 1条：\nPlay gestureright\nThink %s\n' "$(spaced "$3")"
  printf 'Play gestureright\nThink %s' "$(spaced "$4")"
}
