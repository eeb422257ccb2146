#!/usr/bin/env python3
"""Write the raw source folder hanzi-unihan: the few Unihan fields the
character dictionary needs, for the characters it can use.

Usage:
    python3 tools/dictionaries/extract_unihan.py RAW_DIR [--unihan DIR] [--copyright FILE]

Reads the Unihan database as Debian's unicode-data package installs it
(/usr/share/unicode/Unihan_*.txt.bz2, CJKRadicals.txt) and writes
RAW_DIR/hanzi-unihan/ with
  Unihan_extract.txt  the fields below, one "U+XXXX<TAB>field<TAB>value" line
                      each, sorted by code point and field, for every code
                      point that GBK encodes or that the 通用规范汉字表 lists;
  CJKRadicals.txt     unchanged (radical number -> radical character);
  COPYRIGHT           the package's copyright file (the Unicode licence);
  SOURCE.md           where the extract comes from.
The result depends only on the input files; pack it with pack_sources.sh.
"""

import argparse
import bz2
import os
import shutil
import sys

from zidian import gbk_ok

FIELDS = {
    "Unihan_OtherMappings.txt": ("kTGH",),
    "Unihan_Readings.txt": ("kTGHZ2013", "kMandarin", "kHanyuPinlu"),
    "Unihan_IRGSources.txt": ("kRSUnicode", "kTotalStrokes"),
    "Unihan_Variants.txt": ("kSimplifiedVariant",),
}

SOURCE_MD = """\
# Unihan extract for the character dictionary

- Source: the Unicode {version} Unihan database as installed by Debian's
  `unicode-data` package ({date}), files {files}, and
  `CJKRadicals.txt` (copied unchanged).
- Made by `tools/dictionaries/extract_unihan.py`; this is a modified extract:
  only the fields {fields} are kept, and only for code points that GBK
  (code page 936) encodes or that kTGH (通用规范汉字表, 2013) lists.
- Licence: Unicode data licence (COPYRIGHT, Debian's copyright file of the
  package). The extract is a modified data file in the licence's sense.

Fields used:
- kTGH: position in 通用规范汉字表 (1-3500 level 1, 3501-6500 level 2,
  6501-8105 level 3).
- kTGHZ2013: the readings of 通用规范汉字字典 (2013), the standard modern
  readings.
- kMandarin: the customary reading(s); kHanyuPinlu: readings with their
  frequency in a modern corpus. Together they decide the main reading.
- kRSUnicode: radical number (a trailing ' marks the simplified radical
  form) and residual strokes; kTotalStrokes: total strokes (zh-Hans first).
- kSimplifiedVariant: the simplified form of a traditional character, for
  the traditional characters that leak into sense texts (終于 -> 终于).
"""


def read_unihan(path):
    opener = bz2.open if path.endswith(".bz2") else open
    with opener(path, "rt", encoding="utf-8") as f:
        return f.read().splitlines()


def wanted(code_point):
    return gbk_ok(chr(code_point))


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[1])
    ap.add_argument("raw_dir")
    ap.add_argument("--unihan", default="/usr/share/unicode")
    ap.add_argument("--copyright", default="/usr/share/doc/unicode-data/copyright")
    args = ap.parse_args(argv)

    rows = {}  # code point -> {field: value}
    version = date = None
    files = []
    for name, fields in FIELDS.items():
        path = os.path.join(args.unihan, name)
        if not os.path.exists(path):
            path += ".bz2"
        files.append(os.path.basename(path))
        for line in read_unihan(path):
            if line.startswith("# Unicode version:"):
                version = line.split(":", 1)[1].strip()
            elif line.startswith("# Date:"):
                date = line.split(":", 1)[1].strip()
            if not line or line.startswith("#"):
                continue
            cp, field, value = line.split("\t", 2)
            if field in fields:
                rows.setdefault(int(cp[2:], 16), {})[field] = value
    keep = sorted(cp for cp, f in rows.items() if wanted(cp) or "kTGH" in f)
    order = [f for fields in FIELDS.values() for f in fields]

    out = os.path.join(args.raw_dir, "hanzi-unihan")
    os.makedirs(out, exist_ok=True)
    with open(os.path.join(out, "Unihan_extract.txt"), "w", encoding="utf-8", newline="\n") as f:
        f.write("# Unihan_extract.txt: fields %s of the Unicode %s Unihan database (%s),\n"
                "# modified: only code points that GBK encodes or that kTGH lists.\n"
                "# Unicode data licence: see COPYRIGHT.\n" % (" ".join(order), version, date))
        for cp in keep:
            for field in order:
                if field in rows[cp]:
                    f.write("U+%04X\t%s\t%s\n" % (cp, field, rows[cp][field]))
    shutil.copyfile(os.path.join(args.unihan, "CJKRadicals.txt"), os.path.join(out, "CJKRadicals.txt"))
    shutil.copyfile(args.copyright, os.path.join(out, "COPYRIGHT"))
    with open(os.path.join(out, "SOURCE.md"), "w", encoding="utf-8", newline="\n") as f:
        f.write(SOURCE_MD.format(version=version, date=date, files=", ".join(files),
                                 fields=", ".join(order)))
    print("%s: %d code points" % (out, len(keep)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
