#!/usr/bin/env python3
"""No phrase file keeps a traditional character whose simplified form GBK
has, except where the traditional one is meant (乾坤, 宫商角徵羽, 蒜薹, 哪吒, 幺麽).

Every line is run through OpenCC's t2s (the Debian package opencc); each
character it would change is reported unless the simplified form is outside
GBK or the character is one of the kept ones in its context.

Usage: python3 tests/dictionaries/check_simplified.py DATA_DIR
Prints the kept exceptions per file, then "N passed, N failed".
"""

import os
import subprocess
import sys

DATA = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "data")
FILES = ("xh", "cy", "ty", "fy", "gw")
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools", "dictionaries"))
from phrase_clean import kept_traditional  # noqa: E402  (the converter's own exceptions)


def gbk_ok(ch):
    try:
        ch.encode("gbk")
        return True
    except UnicodeEncodeError:
        return False


failed = passed = 0
for name in FILES:
    with open(os.path.join(DATA, name + ".mdb"), "rb") as f:
        lines = f.read().decode("gbk").split("\r\n")
    out = subprocess.run(["opencc", "-c", "t2s.json"], input="\n".join(lines).encode("utf-8"),
                         stdout=subprocess.PIPE, check=True).stdout.decode("utf-8").split("\n")
    left, kept = [], {}
    for line, conv in zip(lines, out):
        if len(conv) != len(line):
            left.append("t2s changes the length of %s" % line[:40])  # cannot be compared
            continue
        for i, (o, c) in enumerate(zip(line, conv)):
            if o == c or not gbk_ok(c):
                continue
            if kept_traditional(line, i):
                kept[o] = kept.get(o, 0) + 1
            else:
                left.append("%s -> %s in %s" % (o, c, line[:40]))
    print("%s: kept on purpose %s" % (name, ", ".join("%s %d" % kv for kv in sorted(kept.items())) or "none"))
    if left:
        failed += 1
        print("FAIL %s: %d traditional forms left\n     %s" % (name, len(left), "\n     ".join(left[:10])))
    else:
        passed += 1
        print("ok   %s: no traditional form left whose simplified form GBK has" % name)
print("%d passed, %d failed" % (passed, failed))
sys.exit(1 if failed else 0)
