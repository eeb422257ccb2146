#!/usr/bin/env bash
# What a user sees for odd search texts, for many quick 下一个词 and for a lookup while the
# character is hidden: vembrel-console from a temporary application directory.
# Usage: search_texts_test.sh <vembrel-console>
console=$1
. "$(dirname "$0")/console_lib.sh"

{ gbk '一心一意~专心\r\n三心~二意\r\n'; printf '\x81\x30~broken\r\n'; } >"$app/data/cy.mdb"
{ gbk '~一 yi1\r\n一的解释\r\n'; printf '~\x81\r\nbroken\r\n'; } >"$app/data/zd.mdb"
long=$(printf '一%.0s' $(seq 100000))

# Texts that occur in no headword: each must give the no-match operations, quickly.
# Rows: name, command line (printf %b escapes).
while IFS='|' read -r name command; do
  run_console "$command\nmcy 一心\n" 5
  expect_ops "$name" "$no_match
$(found 1 一心 一心一意 专心)"
done <<ROWS
100,000 characters|mcy $long
100,000 characters that start with the headword|mcy 一心一意$long
control characters around the text|mcy \x01一心\x1b
control character inside the text|mcy 一\x07心
"~" alone|mcy ~
"~" after a headword|mcy 一心~
text across the separator|mcy 意~专
lone surrogate bytes ED A0 80|mcy \xed\xa0\x80
lone surrogate after a character (must not shrink to it)|mcy 一\xed\xa0\x80
invalid UTF-8 (not the broken headword)|mcy \x81\x30
U+FFFD itself (not the broken headword)|mcy \xef\xbf\xbd
emoji|mcy 😀
emoji after a headword|mcy 一心😀
ROWS

# A text of blanks alone (what a paste may bring) is no text: nothing is announced, as after
# Cancel. Blanks around a headword are not part of what is searched.
while IFS='|' read -r name command; do
  run_console "$command\nmcy 一心\n" 5
  expect_ops "$name" "$(found 1 一心 一心一意 专心)"
done <<'ROWS'
tab|mcy \t
full-width blank|mcy \xe3\x80\x80
ROWS
run_console "mcy \xe3\x80\x80一心 \t\n" 5
expect_ops "blanks around a headword" "$(found 1 一心 一心一意 专心)"

# The character dictionary announces nothing for a text that is no single character with a
# GBK form; above all a broken header must not be found by a broken text.
while IFS='|' read -r name command; do
  run_console "$command\nmxh 一\n" 5
  expect_ops "$name" "Play gestureright
Think $(spaced '一 yi1')
Play gestureright
Think $(spaced 一的解释)"
done <<'ROWS'
character: invalid UTF-8 byte|mxh \xff
character: lone surrogate bytes|mxh \xed\xa0\x80
character: U+FFFD|mxh \xef\xbf\xbd
character: emoji|mxh 😀
character: "~"|mxh ~
ROWS

# 1,000 下一个词 in a row after a search with 1,500 rows: each stops what is being said and
# reads the next entry, in order, and the run stays quick.
for i in $(seq 1500); do printf '一心%d~释%d\r\n' "$i" "$i"; done | iconv -f UTF-8 -t GBK >"$app/data/cy.mdb"
run_console "mcy 一心\n$(printf 'mx\\n%.0s' $(seq 1000))" 20
# The expected operations are written by one process: a thousand shell pipes would take
# longer than the run they check.
expected=$(
  found 1500 一心 一心1 释1
  python3 -c '
import sys
spaced = lambda text: "".join(c + " " for c in text)
for i in range(2, 1002):
    head, tail = spaced("一心%d" % i), spaced("释%d" % i)
    sys.stdout.write(f"\nStop\nPlay gestureright\nThink 第 {i}条：\n")
    sys.stdout.write(f"Play gestureright\nThink {head}\nPlay gestureright\nThink {tail}")'
)
expect_ops "1,000 next entries in quick succession" "$expected"
[ "$seconds" -le 10 ] || fail "1,000 next entries took $seconds s"

# Hidden, a lookup still runs, and its result is kept for when the character is back:
# 下一个词 goes on from it. (The operations go to the host as ever; the desktop's character
# says nothing while hidden, as its host drops thoughts then.)
gbk '一心一意~专心\r\n一心二用~分心\r\n' >"$app/data/cy.mdb"
run_console 'mhide\nmcy 一心\nmx\n'
expect_ops "a lookup while hidden keeps its result" "Hide
$(found 2 一心 一心一意 专心)
Stop
Play gestureright
Think 第 2条：
Play gestureright
Think $(spaced 一心二用)
Play gestureright
Think $(spaced 分心)"

summary
