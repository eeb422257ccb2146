#!/usr/bin/env bash
# Drives vembrel-console as a separate process from a temporary application directory and
# compares what it prints with what the program must say.
set -u
console=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
mkdir -p "$dir/app/data" "$dir/elsewhere"
cp "$console" "$dir/app/vembrel-console"
# GBK with CR LF; one tail holds a backslash and one a lone LF, which must print escaped.
printf '一心一意~专心\\致志\r\n三心二意~不专\n心\r\n一心二用~分心\r\n' | iconv -f UTF-8 -t GBK > "$dir/app/data/cy.mdb"
printf '帮助文本\n' > "$dir/app/使用帮助.txt"

passed=0 failed=0
check() {  # name, expected stdout, input, [expected stderr pattern], [expected status]
  local name=$1 expected=$2 input=$3 err_pattern=${4:-} status_expected=${5:-0}
  local out status
  out=$(cd "$dir/elsewhere" && printf '%b' "$input" | "$dir/app/vembrel-console" 2>"$dir/err")
  status=$?
  if [ "$out" != "$expected" ]; then
    echo "FAIL $name: stdout differs"; diff <(printf '%s\n' "$expected") <(printf '%s\n' "$out") | head -20
    failed=$((failed + 1)); return
  fi
  if [ "$status" != "$status_expected" ]; then
    echo "FAIL $name: status $status, expected $status_expected"; failed=$((failed + 1)); return
  fi
  if [ -n "$err_pattern" ] && ! grep -q -- "$err_pattern" "$dir/err"; then
    echo "FAIL $name: stderr lacks '$err_pattern':"; cat "$dir/err"; failed=$((failed + 1)); return
  fi
  echo "ok   $name"; passed=$((passed + 1))
}

start="Characters.Load aaa $dir/app/dh.vr
Height 160
Width 130
MoveTo 904 0
Name Vembrel 双击显示菜单
Show
Play wave
Think Vembrel 欢 迎 你 !
Think 双 击 显 示 菜 单
Play congratulate2
AutoPopupMenu false"

check "start-up alone" "$start" ""
check "search, next, escapes" "$start
Play gestureright
Think 共 有 2 条 含 有 “ 一心 ” 的 词
Play gestureright
Think 第 1条：
Play gestureright
Think 一 心 一 意 
Play gestureright
Think 专 心 \\\\ 致 志 
Stop
Play gestureright
Think 第 2条：
Play gestureright
Think 一 心 二 用 
Play gestureright
Think 分 心 " 'mcy 一心\nmx\n'
check "unknown item is skipped, CR dropped, empty line ignored" "$start
Play gestureright
Think 共 有 1 条 含 有 “ 三心 ” 的 词
Play gestureright
Think 第 1条：
Play gestureright
Think 三 心 二 意 
Play gestureright
Think 不 专 \\n 心 " 'bogus 1\n\nmcy 三心\r\n' 'unknown menu item "bogus"'
check "cancelled dialog announces nothing" "$start" 'mcy\nmcy \nmxh\n'
check "help goes to standard error" "$start" 'mhelp\n' '帮助文本'
check "quit ends at once" "$start
Hide" 'mhide\nquit\nmcy 一心\n'
rm "$dir/app/使用帮助.txt"
check "missing help is said" "$start
Play decline
Think 无 法 打 开 帮 助 文 件   $(printf '%s' "$dir/app/使用帮助.txt" | LC_ALL=C.UTF-8 sed 's/./& /g')： 文 件 不 存 在 " 'mhelp\n' '无法打开帮助文件'

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
