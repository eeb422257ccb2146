#!/usr/bin/env python3
"""The reviewed errata: well formed, each with a reason, and each one found
applied in the shipped files.

Usage: python3 tests/dictionaries/test_errata.py [REPO_ROOT]

The converter stops when an erratum no longer matches; this test checks the
list itself and that the committed data/*.mdb carry every correction.
Prints "N passed, N failed" last; exits non-zero on a failure.
"""

import os
import sys
from collections import OrderedDict

ROOT = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..")
sys.path.insert(0, os.path.join(ROOT, "tools", "dictionaries"))
import errata  # noqa: E402

passed = failed = 0


def check(ok, what):
    global passed, failed
    if ok:
        passed += 1
    else:
        failed += 1
        print("FAIL:", what)


class Stats:
    def __init__(self):
        self.rules = {}

    def add(self, rule, n=1):
        self.rules[rule] = self.rules.get(rule, 0) + n


def read_phrases(name):
    entries = {}
    with open(os.path.join(ROOT, "data", name + ".mdb"), encoding="gbk", newline="") as f:
        for line in f.read().split("\r\n"):
            if "~" in line:
                head, tail = line.split("~", 1)
                entries[head] = tail
    return entries


def read_zidian():
    senses = {}
    char = None
    with open(os.path.join(ROOT, "data", "zd.mdb"), encoding="gbk", newline="") as f:
        for line in f.read().split("\r\n"):
            if line.startswith("~"):
                char = line[1:].split(" ", 1)[0]
            elif char:
                senses.setdefault(char, []).append(line)
    return senses


# --- malformed lines are refused --------------------------------------------
BAD = [
    ("no reason", "ty\t好\tdrop-partner\t坏\t\t"),
    ("unknown change", "ty\t好\tdelete\t坏\t\tbecause"),
    ("unknown file", "xx\t好\tdrop-entry\t\t\tbecause"),
    ("replace without the text it changes", "cy\t好\treplace\t\t坏\tbecause"),
    ("five fields", "cy\t好\tdrop-entry\t\tbecause"),
]
for what, line in BAD:
    try:
        errata.parse(line)
        check(False, "malformed erratum accepted: " + what)
    except ValueError:
        check(True, what)

# --- the changes on a small book ---------------------------------------------
book = OrderedDict([("好", ["良好 美好；坏"]), ("冷", ["热"]), ("命将就木", ["长生不老"]),
                    ("画蛇添足", ["huà shé 比喻做了多余的事"]),
                    ("王弗听。", ["楚昭王不听。", "齐王不听。", "大王不听。"])])
fixes = errata.parse("\n".join([
    "fy\t好\tdrop-partner\t坏\t\tsynonym group mixed in",
    "fy\t冷\tdrop-partner\t热\t\tlast partner: the entry goes",
    "fy\t命将就木\thead\t\t行将就木\ttypo",
    "cy\t画蛇添足\treplace\t多余\t多余\tno change but found",
    "gw\t王弗听。\treplace\t楚昭王不听。；\t\ta stray translation, cut with its mark",
    "gw\t王弗听。\treplace\t齐王不听。\t\tanother",
]))
errata.apply_phrases(book, fixes, Stats())
check(book == OrderedDict([("好", ["良好 美好"]), ("画蛇添足", ["huà shé 比喻做了多余的事"]),
                           ("王弗听。", ["大王不听。"]), ("行将就木", ["长生不老"])]),
      "errata applied to a small book: %r" % book)
for line in ["fy\t好\tdrop-partner\t坏人\t\tnot there", "fy\t坏\tdrop-entry\t\t\tno such head",
             "cy\t画蛇添足\treplace\t蛇足\t蛇脚\tnot there"]:
    try:
        errata.apply_phrases(OrderedDict([("好", ["坏 差"]), ("画蛇添足", ["画蛇"])]),
                             errata.parse(line), Stats())
        check(False, "unmatched erratum went unnoticed: " + line)
    except errata.Unmatched:
        check(True, line)

zd_lines = ["~谩 màn 讠部 13画", "[màn] 欺骗：谩语。", "~长 cháng zhǎng 长部 4画", "[zhǎng] 生长。"]
errata.apply_zidian(zd_lines, errata.parse("zd\t谩\treplace\t[màn] 欺骗\t[mán] 欺骗\tmisfiled"), Stats())
check(zd_lines == ["~谩 màn mán 讠部 13画", "[mán] 欺骗：谩语。", "~长 cháng zhǎng 长部 4画", "[zhǎng] 生长。"],
      "a sense filed under another reading: the header names it: %r" % zd_lines)

# --- the shipped list: reasons, and every correction found in the data ---------
corrections = errata.load(os.path.join(ROOT, "tools", "dictionaries", "errata"))
check(len(corrections) > 0, "the errata list is empty")
files = {name: read_phrases(name) for name in ["xh", "cy", "ty", "fy", "gw"]}
zd = read_zidian()
renamed_to = {e.new for e in corrections if e.change == "head"}
renamed = {(e.file, e.entry): e.new for e in corrections if e.change == "head"}
# A text mended first may have gone with its whole entry after a later, closer reading.
dropped = {(e.file, e.entry) for e in corrections if e.change == "drop-entry"}


replaces = {}
for position, r in enumerate(corrections):
    if r.change == "replace":
        replaces.setdefault((r.file, r.entry), []).append((position, r))
positions = {id(e): position for position, e in enumerate(corrections)}


def mended_again(e):
    """A text mended may be mended again by a closer reading (jǐe wǎn → jiě wǎn → jiě wàn)."""
    after = positions[id(e)]
    return bool(e.new) and any(position > after and (r.text in e.new or e.new in r.text)
                               for position, r in replaces.get((e.file, e.entry), []))


for e in corrections:
    check(len(e.reason) >= 4, "%r: a reason of a few words is needed" % e)
    if e.change == "replace" and mended_again(e):
        continue
    if e.file == "zd":
        lines = zd.get(e.entry, [])
        check(any(e.new in l for l in lines) and not any(e.text in l and e.text not in e.new for l in lines),
              "%r: not applied in zd.mdb" % e)
        continue
    entries = files[e.file]
    if e.change == "drop-entry":
        check(e.entry not in entries or e.entry in renamed_to, "%r: entry still there" % e)
    elif e.change == "head":
        check(e.new in entries and e.entry not in entries, "%r: head not renamed" % e)
    elif e.change == "drop-partner":
        tail = entries.get(e.entry, "")
        partners = tail.replace("；", " ").split(" ")
        check(e.text not in partners, "%r: partner still there" % e)
    elif e.change == "replace":
        tail = entries.get(renamed.get((e.file, e.entry), e.entry))
        if tail is None and (e.file, e.entry) in dropped:
            continue
        check(tail is not None and e.new in tail and (e.new or e.text not in tail), "%r: not applied" % e)

print("%d passed, %d failed" % (passed, failed))
sys.exit(1 if failed else 0)
