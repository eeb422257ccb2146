"""What the converter's rule tests share: the repository root (first argument, else two folders
up), the converter's folder on the import path, and the ok/FAIL tally.

A test imports it first, calls check() for each case and finish() last, which prints
"N passed, N failed" and exits non-zero on a failure.
"""

import os
import sys

ROOT = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
sys.path.insert(0, os.path.join(ROOT, "tools", "dictionaries"))

_tally = {"passed": 0, "failed": 0}


def check(what, got, want):
    if got == want:
        _tally["passed"] += 1
        print("ok   " + what)
    else:
        _tally["failed"] += 1
        print("FAIL %s\n     got  %r\n     want %r" % (what, got, want))


def finish():
    print("%d passed, %d failed" % (_tally["passed"], _tally["failed"]))
    sys.exit(1 if _tally["failed"] else 0)
