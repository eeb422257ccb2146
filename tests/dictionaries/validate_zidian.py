#!/usr/bin/env python3
"""Check data/zd.mdb against Unihan: coverage of the standard character list,
readings, radicals and strokes of every header, and clean definition text.

Usage: python3 tests/dictionaries/validate_zidian.py [REPO_ROOT]

Unihan comes from the packed source data/sources/hanzi-unihan.tar.xz.  Every
check first runs on small fixtures (a broken one must be reported, a good one
must pass), then on the shipped file.  The last line is "N passed, N failed";
the exit status is non-zero on a failure.
"""

import os
import re
import sys
import tarfile
import unicodedata

ROOT = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")

# ---------------------------------------------------------------------------
# Unihan


def load_unihan(path):
    with tarfile.open(path, "r:xz") as tar:
        extract = tar.extractfile("hanzi-unihan/Unihan_extract.txt").read().decode("utf-8")
        radicals_txt = tar.extractfile("hanzi-unihan/CJKRadicals.txt").read().decode("utf-8")
    fields = {}
    for line in extract.splitlines():
        if line and not line.startswith("#"):
            cp, field, value = line.split("\t", 2)
            fields.setdefault(chr(int(cp[2:], 16)), {})[field] = value
    radicals = {}
    for line in radicals_txt.splitlines():
        line = line.split("#", 1)[0].strip()
        if line:
            number, _, unified = [f.strip() for f in line.split(";")]
            radicals[number] = chr(int(unified, 16))
    return fields, radicals


def gbk_ok(ch):
    if "\ue000" <= ch <= "\uf8ff" or ord(ch) > 0xFFFF:
        return False
    try:
        ch.encode("gbk")
        return True
    except UnicodeEncodeError:
        return False


TONES = {"\u0304": "1", "\u0301": "2", "\u030c": "3", "\u0300": "4"}


def as_gbk(reading):
    """How a reading can be written in GBK: as it is, or with a tone number
    where GBK lacks the tone-marked letter (ḿ -> m2, ê̄ -> ê1)."""
    if all(gbk_ok(c) for c in reading):
        return reading
    base = "".join(c for c in unicodedata.normalize("NFD", reading) if c not in TONES)
    tone = "".join(TONES[c] for c in unicodedata.normalize("NFD", reading) if c in TONES)
    return unicodedata.normalize("NFC", base) + tone


def standard_readings(value):
    out = []
    for item in value.split():
        r = as_gbk(unicodedata.normalize("NFC", item.split(":", 1)[1]))
        if r not in out:
            out.append(r)
    return out


# Radical shapes the dictionary may print for a Kangxi radical number besides
# the CJKRadicals.txt character: the simplified print form, and the forms a
# radical takes at the side of a character.
RADICAL_SHAPES = {
    "9": "亻", "18": "刂", "23": "匚", "22": "匚", "34": "夂", "35": "夂", "47": "川", "61": "忄",
    "63": "户", "64": "扌", "80": "母", "85": "氵", "86": "灬", "87": "爫", "93": "牜", "94": "犭",
    "96": "王", "113": "礻", "122": "罒", "125": "耂", "130": "月", "140": "艹", "145": "衤",
    "146": "西", "162": "辶", "163": "阝", "170": "阝", "174": "青", "201": "黄",
}

# ---------------------------------------------------------------------------
# The file

HEADER_RE = re.compile(r"^~(.) (.*?) ?(?:(\S+)部 )?(?:(\d+)画)?$")
BAD_SYMBOLS = "◇■□∮∥〈〉～~\ufffd"
BOPOMOFO_RE = re.compile(r"[\u3105-\u3129]")
PAIRS = ["（）", "“”", "〔〕", "《》"]


def read_entries(text):
    """[(header fields, [definition lines])] of a decoded zd file."""
    entries = []
    for line in text.split("\r\n")[:-1]:
        if line.startswith("~"):
            m = HEADER_RE.match(line)
            char, rest, radical, strokes = m.groups() if m else (line[1:2], "", None, None)
            entries.append(({"char": char, "readings": rest.split() if rest else [],
                             "radical": radical, "strokes": int(strokes) if strokes else None,
                             "line": line}, []))
        elif entries:
            entries[-1][1].append(line)
    return entries


def coverage_problems(entries, unihan):
    fields, _ = unihan
    headed = {h["char"] for h, _ in entries}
    with_senses = {h["char"] for h, lines in entries if lines}
    by_level = {1: [], 2: [], 3: []}
    for char, f in fields.items():
        if "kTGH" in f and gbk_ok(char):
            pos = int(f["kTGH"].split(":")[1])
            by_level[1 if pos <= 3500 else 2 if pos <= 6500 else 3].append(char)
    standard = [c for level in by_level.values() for c in level]
    problems = []
    have = sum(c in headed for c in standard)
    if have < 0.99 * len(standard):
        problems.append("only %d of %d standard characters have an entry" % (have, len(standard)))
    missing1 = [c for c in by_level[1] if c not in with_senses]
    if missing1:
        problems.append("%d level-1 characters without senses: %s" % (len(missing1), "".join(missing1[:20])))
    have2 = sum(c in with_senses for c in by_level[2])
    if have2 < 0.90 * len(by_level[2]):
        problems.append("only %d of %d level-2 characters have senses" % (have2, len(by_level[2])))
    return problems


def header_problems(entries, unihan):
    fields, radicals = unihan
    problems = []
    exact = total = 0
    seen = set()
    labels = {}
    for h, lines in entries:
        labels.setdefault(h["char"], set()).update(re.findall(r"^\[([^\]]+)\]", line)[0] for line in lines
                                                  if line.startswith("["))
    for h, _ in entries:
        char = h["char"]
        f = fields.get(char)
        if not f:
            continue
        if "kTotalStrokes" in f and h["strokes"] != int(f["kTotalStrokes"].split()[0]):
            problems.append("%s: %s画, Unihan %s" % (char, h["strokes"], f["kTotalStrokes"]))
        if "kRSUnicode" in f:
            number = f["kRSUnicode"].split()[0].split(".")[0]
            allowed = {radicals.get(number), RADICAL_SHAPES.get(number.rstrip("'"))}
            if h["radical"] not in allowed:
                problems.append("%s: %s部, Unihan radical %s (%s)" % (char, h["radical"], number,
                                                                      radicals.get(number)))
        if "kTGHZ2013" in f and char not in seen:
            seen.add(char)
            total += 1
            # The standard readings first; after them only readings senses are filed under.
            standard = standard_readings(f["kTGHZ2013"])
            further = h["readings"][len(standard):]
            if (set(h["readings"][:len(standard)]) == set(standard) and h["readings"]
                    and all(r in labels[char] for r in further)):
                exact += 1
        if len(problems) > 20:
            break
    if total and exact < 0.98 * total:
        problems.append("only %d of %d standard headers give the standard readings and only further readings with senses" % (exact, total))
    return problems


def text_problems(entries):
    problems = []
    for h, lines in entries:
        for line in lines:
            bad = [c for c in line if c in BAD_SYMBOLS]
            if bad:
                problems.append("%s: symbol %r in %r" % (h["char"], bad[0], line[:40]))
            elif not re.match(r"^\[[^\[\] ]+\] \S", line):
                problems.append("%s: not '[reading] sense': %r" % (h["char"], line[:40]))
            elif re.match(r"^\[[^\]]*\] [?？.。，、；：]", line):
                problems.append("%s: sense starts with punctuation: %r" % (h["char"], line[:40]))
            elif BOPOMOFO_RE.search(line):
                problems.append("%s: bopomofo in %r" % (h["char"], line[:40]))
            elif any(line.count(p[0]) != line.count(p[1]) for p in PAIRS):
                problems.append("%s: unbalanced brackets or quotes in %r" % (h["char"], line[:40]))
            elif "锟斤拷" in line or "烫烫" in line:
                problems.append("%s: mojibake in %r" % (h["char"], line[:40]))
        if len(problems) > 20:
            break
    return problems


def lookup(entries, char):
    """Header and lines the program announces for char (first entry and the
    continuations after full ten-line entries)."""
    out = []
    for h, lines in entries:
        if h["char"] == char:
            out.append(h["line"][1:])
            out.extend(lines[:10])
            if len(lines) < 10:
                break
    return out


# Lookups a reader would try, with what must be there.
SPOT_CHECKS = [
    ("好", lambda e: e[0] == "好 hǎo hào 女部 6画"),
    ("您", lambda e: e[0].startswith("您 nín ")),
    ("京", lambda e: e[0].startswith("京 jīng 亠部 8画")),
    ("塔", lambda e: e[0].startswith("塔 tǎ 土部")),
    ("的", lambda e: e[0].startswith("的 de ")),
    ("了", lambda e: e[0].startswith("了 le liǎo ")),
    ("打", lambda e: "扌部" in e[0]),
    ("碗", lambda e: "石部 13画" in e[0]),
    ("我", lambda e: "：" in e[1]),  # the colon before the examples
    ("吾", lambda e: len(e) > 1),
    ("矣", lambda e: len(e) > 1),
    ("嘛", lambda e: len(e) > 1),
    ("尴", lambda e: len(e) > 1),
    ("瞅", lambda e: len(e) > 1),
    ("拎", lambda e: len(e) > 1),
    ("一", lambda e: not any("一定的阶级" in line for line in e)),
]

# ---------------------------------------------------------------------------
# Fixtures: (description, check, file text, fault expected)

FIX_UNIHAN = ({
    "好": {"kTGH": "2013:581", "kTGHZ2013": "132.140:hǎo 133.010:hào", "kRSUnicode": "38.3",
           "kTotalStrokes": "6"},
    "打": {"kTGH": "2013:300", "kTGHZ2013": "076.010:dá 076.020:dǎ", "kRSUnicode": "64.2",
           "kTotalStrokes": "5"},
    "欸": {"kTGH": "2013:7000", "kTGHZ2013": "001.010:ǎi 001.020:ê̄", "kRSUnicode": "76.7",
           "kTotalStrokes": "11"},
}, {"38": "女", "64": "手", "76": "欠"})
GOOD = ("~好 hǎo hào 女部 6画\r\n[hǎo] 优点多的：好人。\r\n~打 dǎ dá 扌部 5画\r\n[dǎ] 击：打鼓。\r\n"
        "~欸 ǎi ê1 欠部 11画\r\n[ê1] 叹词，表示招呼。\r\n")
FIXTURES = [
    ("good file", coverage_problems, GOOD, False),
    ("good file", header_problems, GOOD, False),
    ("good file", text_problems, GOOD, False),
    ("standard character missing", coverage_problems, GOOD.split("~打")[0] + "~欸 ǎi ê1 欠部 11画\r\n[ê1] 叹。\r\n", True),
    ("level-1 character without senses", coverage_problems, GOOD.replace("[dǎ] 击：打鼓。\r\n", ""), True),
    ("wrong stroke count", header_problems, GOOD.replace("6画", "7画"), True),
    ("look-alike radical 才 for 扌", header_problems, GOOD.replace("扌部", "才部"), True),
    ("further reading without a sense", header_problems,
     GOOD.replace("hǎo hào", "hǎo hào hāo").replace("dǎ dá", "dǎ dá dà"), True),
    ("junk reading", header_problems, GOOD.replace("hǎo hào", "hǎo hào ourtia").replace("dǎ dá", "dǎ agoda"), True),
    ("placeholder symbol", text_problems, GOOD.replace("击：", "◇击："), True),
    ("editorial marker", text_problems, GOOD.replace("击：", "〈古〉击："), True),
    ("tilde left in", text_problems, GOOD.replace("打鼓", "～鼓"), True),
    ("sense starting with '?'", text_problems, GOOD.replace("[dǎ] 击", "[dǎ] ?击"), True),
    ("cut mid-phrase", text_problems, GOOD.replace("击：打鼓。", "击（敲，打"), True),
    ("bopomofo", text_problems, GOOD.replace("击：", "击（dǎ ㄉㄚˇ）："), True),
    ("line without a reading label", text_problems, GOOD.replace("[dǎ] ", ""), True),
]


def main():
    passed = failed = 0

    def result(ok, what, detail=""):
        nonlocal passed, failed
        passed += ok
        failed += not ok
        print(("ok   %s" if ok else "FAIL %s") % what + ("" if ok or not detail else ": " + detail))

    for desc, check, text, fault in FIXTURES:
        entries = read_entries(text)
        problems = check(entries, FIX_UNIHAN) if check is not text_problems else check(entries)
        result(bool(problems) == fault, "fixture (%s): %s" % (check.__name__, desc),
               "; ".join(problems[:3]) if problems else "fault not reported")

    unihan = load_unihan(os.path.join(ROOT, "data", "sources", "hanzi-unihan.tar.xz"))
    with open(os.path.join(ROOT, "data", "zd.mdb"), "rb") as f:
        entries = read_entries(f.read().decode("gbk"))
    for check in (coverage_problems, header_problems):
        problems = check(entries, unihan)
        result(not problems, "zd.mdb: " + check.__name__, "; ".join(problems[:5]))
    problems = text_problems(entries)
    result(not problems, "zd.mdb: text_problems", "; ".join(problems[:5]))
    for char, ok in SPOT_CHECKS:
        found = lookup(entries, char)
        result(bool(found) and ok(found), "zd.mdb: lookup of " + char, repr(found[:2]))

    print("%d passed, %d failed" % (passed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
