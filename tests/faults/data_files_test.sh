#!/usr/bin/env bash
# What a user sees when a dictionary file is bad: vembrel-console from a temporary application
# directory whose data/cy.mdb is missing, no regular file, empty, garbage, huge, broken GBK or
# has unusual line ends. Each run then looks up 同义词 in a good file, which must still work.
# Usage: data_files_test.sh <vembrel-console>
console=$1
. "$(dirname "$0")/console_lib.sh"

cy=$app/data/cy.mdb
gbk '一心一意~专心\r\n' >"$app/data/ty.mdb"
later_ok=$(found 1 一心 一心一意 同义词是:专心)
unreadable() {  # the character declines and names the file and the reason
  printf 'Play decline\nThink %s' "$(spaced "无法读取词典文件 $cy：$1")"
}
reset_cy() { rm -rf "$cy"; }

# Files that cannot be read at all: name, how to make it, reason said.
while IFS='|' read -r name make reason; do
  reset_cy
  eval "$make"
  run_console 'mcy 一心\nmty 一心\n'
  expect_ops "$name" "$(unreadable "$reason")
$later_ok"
done <<'ROWS'
missing file|:|文件不存在
directory|mkdir "$cy"|这是一个目录，不是词典文件
FIFO without a writer (must not block)|mkfifo "$cy"|这不是普通文件
symlink to /dev/zero (must not read forever)|ln -s /dev/zero "$cy"|这不是普通文件
symlink to /dev/null|ln -s /dev/null "$cy"|这不是普通文件
dangling symlink|ln -s "$work/nowhere.mdb" "$cy"|文件不存在
ROWS

# Files that read but hold little or odd text: name, how to make it, what the lookup says.
while IFS='|' read -r name make expected; do
  reset_cy
  eval "$make"
  run_console 'mcy 一心\nmty 一心\n'
  expect_ops "$name" "$(eval "$expected")
$later_ok"
done <<'ROWS'
empty file|: >"$cy"|echo "$no_match"
garbage without the text|python3 -c 'import random,sys; random.seed(7); sys.stdout.buffer.write(bytes(random.getrandbits(8) for _ in range(300000)).replace(b"\xd2\xbb", b"  "))' >"$cy"|echo "$no_match"
one good line inside garbage|{ python3 -c 'import random,sys; random.seed(8); sys.stdout.buffer.write(bytes(random.getrandbits(8) for _ in range(100000)).replace(b"\xd2\xbb", b"  "))'; gbk '\r\n一心一意~专心\r\n'; head -c 50000 /dev/zero; } >"$cy"|found 1 一心 一心一意 专心
lead byte at the end of the file|gbk '一心~专' >"$cy"; printf '\xd2' >>"$cy"|found 1 一心 一心 专�
invalid pair before the text|{ printf '\x81\x30'; gbk '一心~甲\r\n'; } >"$cy"|found 1 一心 �0一心 甲
lead byte that takes the text's first byte|{ printf '\x81'; gbk '一心~乙\r\n'; } >"$cy"|echo "$no_match"
ROWS

# Line ends: each file holds two entries with 一心, the second one last in the file.
two_rows() {  # second tail as thought
  found 2 一心 一心一意 专心
  printf '\nStop\nPlay gestureright\nThink 第 2条：\nPlay gestureright\nThink %s\n' "$(spaced 一心二用)"
  printf 'Play gestureright\nThink %s' "$1"
}
while IFS='|' read -r name text tail; do
  reset_cy
  gbk "$text" >"$cy"
  run_console 'mcy 一心\nmx\nmty 一心\n'
  expect_ops "$name" "$(two_rows "$tail")
$later_ok"
done <<'ROWS'
CR only|一心一意~专心\r三心二意~不专\r一心二用~分心|分 心 
LF only|一心一意~专心\n三心二意~不专\n一心二用~分心\n|分 心 
CR LF with a final line unterminated|一心一意~专心\r\n三心二意~不专\r\n一心二用~分心|分 心 
mixed: a lone LF stays in its line|一心一意~专心\r\n三心二意~不专\r一心二用~分\n心\r|分 \n 心 
ROWS

# A single line of 200 MB: the scan must stay quick, and memory near the file's own size
# (it is mapped), whether the line matches or not.
huge=$((200 * 1024 * 1024))
python3 - "$work" "$huge" <<'PY'
import sys
work, size = sys.argv[1], int(sys.argv[2])
one = "一".encode("gbk")
with open(work + "/nomatch.mdb", "wb") as f:
    f.write(one * (size // 2))
with open(work + "/cy-long.mdb", "wb") as f:
    f.write("一心~".encode("gbk") + b"a" * size)
with open(work + "/zd-long.mdb", "wb") as f:
    f.write("~一 ".encode("gbk") + b"b" * (size // 2) + b"\r\n" + b"c" * (size // 2) + b"\r\n")
PY
bound_kb=$((huge / 1024 + 150 * 1024))
check_huge() {  # name, expected operations
  if [ "$peak_kb" -gt "$bound_kb" ]; then
    fail "$1: peak memory $peak_kb kB, over $bound_kb kB"
  elif [ "$seconds" -gt 20 ]; then
    fail "$1: took $seconds s"
  else
    expect_ops "$1" "$2"
  fi
}
cut_text() { printf '%s' "$1"; head -c "$2" /dev/zero | tr '\0' "$3"; printf '…'; }
reset_cy
mv "$work/nomatch.mdb" "$cy"
run_console 'mcy 一心\nmty 一心\n' 60
check_huge "200 MB line without a match" "$no_match
$later_ok"
mv "$work/cy-long.mdb" "$cy"
run_console 'mcy 一心\nmty 一心\n' 60
check_huge "200 MB line that matches: its entry is cut with a mark" "$(found 1 一心 一心 "$(cut_text '' 65536 a)")
$later_ok"
rm -f "$cy"
mv "$work/zd-long.mdb" "$app/data/zd.mdb"
run_console 'mxh 一\nmty 一心\n' 60
check_huge "200 MB character entry and definition: both cut" "Play gestureright
Think $(spaced "$(cut_text '一 ' 65532 b)")
Play gestureright
Think $(spaced "$(cut_text '' 65536 c)")
$later_ok"

summary
