#!/usr/bin/env python3
"""Check the shipped dictionaries the way the program reads them.

Usage: python3 tests/dictionaries/validate_dictionaries.py [DATA_DIR]

Every check is first run on small broken fixtures (it must report the fault)
and on a small good fixture (it must stay quiet), then on data/*.mdb.  The
last line is "N passed, N failed"; the exit status is non-zero on a failure.
"""

import os
import re
import shutil
import subprocess
import sys

PHRASE_FILES = ["xh", "cy", "ty", "fy", "gw"]
ZD_LINES_PER_ENTRY = 10
HEADER_RE = re.compile(r"^~([^\ud800-\udfff]) (\S.*)$")


def split_lines(data):
    """Split GBK bytes into decoded lines; report line end faults.
    Returns (lines, problems)."""
    problems = []
    try:
        text = data.decode("gbk", errors="strict")
    except UnicodeDecodeError as e:
        return [], ["not valid GBK at byte %d" % e.start]
    for i, ch in enumerate(text):
        if ch == "\u20ac" or "\ue000" <= ch <= "\uf8ff":
            problems.append("character U+%04X must not be shown (offset %d)" % (ord(ch), i))
            break
    if text and not text.endswith("\r\n"):
        problems.append("last line does not end in CR LF")
    body = text[:-2] if text.endswith("\r\n") else text
    lines = body.split("\r\n") if body else []
    for n, line in enumerate(lines, 1):
        if "\r" in line or "\n" in line:
            problems.append("line %d: lone CR or LF" % n)
            break
    return lines, problems


def check_phrases(lines):
    problems = []
    heads = {}
    for n, line in enumerate(lines, 1):
        if "~" not in line:
            problems.append("line %d: no '~', the program skips it" % n)
            continue
        head, tail = line.split("~", 1)
        if not head.strip():
            problems.append("line %d: empty head, never found" % n)
        if head != head.strip() or tail != tail.strip():
            problems.append("line %d: blanks around head or tail" % n)
        if not tail.strip():
            problems.append("line %d: empty tail, nothing to announce" % n)
        if re.search(r"[\x00-\x1f\x7f]", line):
            problems.append("line %d: tab or control character" % n)
        if head in heads:
            problems.append("line %d: head %r repeats line %d" % (n, head, heads[head]))
        heads.setdefault(head, n)
        if len(problems) > 20:
            break
    return problems


# What a phrase line may hold besides Chinese characters: the full-width
# punctuation of Chinese text; 成语 pinyin (Latin letters with tone marks) and
# numbers; the sense numbers ① ② … of 成语 and 歇后语 notes.
CJK_RE = "\u3400-\u4dbf\u4e00-\u9fff"
PUNCTUATION = "~，。；：、！？“”‘’《》（）·—…"
PINYIN = "a-zA-Züāáǎàēéěèīíǐìōóǒòūúǔùǖǘǚǜ "
ALLOWED = {
    "xh": re.compile("^[%s%s0-9①-⑩]*$" % (CJK_RE, PUNCTUATION)),
    "cy": re.compile("^[%s%s%s0-9①-⑩＝]*$" % (CJK_RE, PUNCTUATION, PINYIN)),
    "ty": re.compile("^[%s~；· ]*$" % CJK_RE),
    "fy": re.compile("^[%s~；· ]*$" % CJK_RE),
    "gw": re.compile("^[%s%s「」『』0-9]*$" % (CJK_RE, PUNCTUATION)),
}
# Named so that a failure says what it is: placeholders and stray symbols of
# the scraped sources, editorial marks, mojibake.
NOISE = "◇◆■□○△◎∮∥‖§※★☆→↑↓≤≥∑∞♂♀?#＃|@"


def check_clean_text(name, lines):
    """Every character of a phrase file is one the program can read out."""
    problems = []
    allowed = ALLOWED[name]
    for n, line in enumerate(lines, 1):
        noise = [ch for ch in line if ch in NOISE]
        if noise or not allowed.match(line):
            odd = noise or [ch for ch in line if not allowed.match(ch)]
            problems.append("line %d: %s in %r" % (n, "".join(sorted(set(odd))), line[:40]))
        if len(problems) > 10:
            break
    return problems


def t2s_changes(heads):
    """Heads that OpenCC's t2s would still change into other GBK text: a
    traditional form where a simplified one exists in GBK."""
    if not shutil.which("opencc"):
        return None
    out = subprocess.run(["opencc", "-c", "t2s.json"], input="\n".join(heads).encode("utf-8"),
                         stdout=subprocess.PIPE, check=True).stdout.decode("utf-8").split("\n")
    changed = []
    for before, after in zip(heads, out):
        if before == after:
            continue
        try:
            after.encode("gbk")
        except UnicodeEncodeError:
            # Only simplified forms outside GBK (鮀 -> 𬶍) may stay traditional.
            if len(before) == len(after) and all(
                    b == a or not gbk_ok(a) for b, a in zip(before, after)):
                continue
        changed.append(before)
    return changed


def gbk_ok(ch):
    try:
        ch.encode("gbk")
        return True
    except UnicodeEncodeError:
        return False


def check_characters(lines):
    problems = []
    current = None
    count = 0
    for n, line in enumerate(lines, 1):
        if line.startswith("~"):
            m = HEADER_RE.match(line)
            if not m:
                problems.append("line %d: header is not '~' + one character + blank + text" % n)
                current = None
                continue
            char = m.group(1)
            # A same-character header after fewer than ten lines ends the
            # lookup, so the lines after it would never be announced.
            if char == current and count < ZD_LINES_PER_ENTRY:
                problems.append("line %d: %s continues after only %d lines" % (n, char, count))
            current, count = char, 0
        else:
            if line.startswith("～"):
                problems.append("line %d: definition begins with '～'" % n)
            if current is None and n == 1:
                problems.append("line 1: definition line before the first header")
            if not line.strip():
                problems.append("line %d: empty definition line" % n)
            count += 1
        if len(problems) > 20:
            break
    if not lines or not lines[0].startswith("~"):
        if "line 1: definition line before the first header" not in problems:
            problems.append("file does not start with a header")
    return problems


def phrase_found(lines, query):
    """What the program announces for a phrase search: tails of lines whose
    head contains the query."""
    return [line.split("~", 1)[1] for line in lines
            if "~" in line and query in line.split("~", 1)[0]]


def character_found(lines, char):
    """What the program announces for a character: header and up to ten lines."""
    out = []
    i = 0
    while i < len(lines):
        if lines[i].startswith("~" + char + " "):
            out.append(lines[i][1:])
            i += 1
            shown = 0
            while i < len(lines) and not lines[i].startswith("~") and shown < ZD_LINES_PER_ENTRY:
                out.append(lines[i])
                shown += 1
                i += 1
            if shown < ZD_LINES_PER_ENTRY:
                break
        else:
            i += 1
    return out


def problems_in(name, data):
    lines, problems = split_lines(data)
    if not problems:
        problems = check_characters(lines) if name == "zd" else check_phrases(lines)
    if not problems and name != "zd":
        problems = check_clean_text(name, lines)
    return lines, problems


# Small fixtures: each broken one must be reported, the good ones must pass.
FIXTURES = [
    # (description, file kind, bytes, fault expected)
    ("good phrase file", "cy", "一心一意~yī xīn yī yì 专心。\r\n画蛇添足~比喻多此一举。\r\n".encode("gbk"), False),
    ("good character file", "zd",
     ("~好 hǎo 女部 6画\r\n" + "".join("[hǎo] 义%d\r\n" % i for i in range(10))
      + "~好 hǎo 女部 6画\r\n[hǎo] 义十\r\n~我 wǒ 戈部 7画\r\n").encode("gbk"), False),
    ("invalid GBK bytes", "cy", b"\xff\xfe~x\r\n", True),
    ("euro sign (cp936 byte 0x80)", "cy", "价~".encode("gbk") + b"\x80\r\n", True),
    ("private-use character", "cy", "价~".encode("gbk") + b"\xaa\xa1\r\n", True),
    ("LF line end", "cy", "一心一意~专心\n".encode("gbk"), True),
    ("lone CR inside", "cy", "一心~专\r心\r\n".encode("gbk"), True),
    ("missing final CR LF", "cy", "一心一意~专心".encode("gbk"), True),
    ("line without '~'", "xh", "外甥打灯笼 照舅\r\n".encode("gbk"), True),
    ("empty head", "xh", "~照舅（旧）\r\n".encode("gbk"), True),
    ("repeated head", "ty", "高兴~开心\r\n高兴~愉快\r\n".encode("gbk"), True),
    ("tab in a line", "gw", "学而时习之\t~学了\r\n".encode("gbk"), True),
    ("definition before the first header", "zd", "义\r\n~好 hǎo\r\n".encode("gbk"), True),
    ("header with two characters", "zd", "~好人 hǎo\r\n义\r\n".encode("gbk"), True),
    ("header without blank", "zd", "~好\r\n义\r\n".encode("gbk"), True),
    ("definition starting with '～'", "zd", "~好 hǎo\r\n～人\r\n".encode("gbk"), True),
    ("stray '◇' for lost text", "cy", "哀兵必胜~āi bīng 胜利◇指军队。\r\n".encode("gbk"), True),
    ("placeholder '■' in 古文", "gw", "子墨子使管黔■游~墨子让管黔\r\n".encode("gbk"), True),
    ("half-width punctuation in 古文", "gw", "是其故何也?~这是什么缘故？\r\n".encode("gbk"), True),
    ("mojibake partner", "fy", "邋遢~ｖ祸喊乖唷⑽刍唷\r\n".encode("gbk"), True),
    ("'?' for a lost character", "fy", "憋闷~?闷 舒畅\r\n".encode("gbk"), True),
    ("editorial mark", "gw", "△经一~经一\r\n".encode("gbk"), True),
    ("good 古文 and 同义词 lines", "gw", "子曰：学而时习之，不亦说乎？~孔子说：“学了……”\r\n".encode("gbk"), False),
    ("same character split after fewer than ten lines", "zd",
     "~好 hǎo\r\n义一\r\n~好 hǎo\r\n义二\r\n".encode("gbk"), True),
]

SPOT_CHECKS = [
    # (file, query, kind) - what a user would try
    ("cy", "一心一意", "head"),
    ("cy", "画蛇", "substring"),
    ("xh", "外甥打灯笼", "substring"),
    ("xh", "灯笼", "substring"),
    ("zd", "好", "char"),
    ("zd", "我", "char"),
    ("ty", "高兴", "head"),
    ("ty", "美丽", "head"),
    ("fy", "高兴", "head"),
    ("gw", "学而时习之", "substring"),
    ("gw", "学而", "substring"),
]


def main(argv):
    data_dir = argv[1] if len(argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "..", "data")
    passed = failed = 0

    def result(ok, what, detail=""):
        nonlocal passed, failed
        if ok:
            passed += 1
            print("ok   %s" % what)
        else:
            failed += 1
            print("FAIL %s%s" % (what, (": " + detail) if detail else ""))

    for desc, kind, data, fault in FIXTURES:
        _, problems = problems_in(kind, data)
        result(bool(problems) == fault, "fixture: " + desc,
               "; ".join(problems[:3]) if problems else "fault not reported")

    files = {}
    for name in ["xh", "zd", "cy", "ty", "fy", "gw"]:
        path = os.path.join(data_dir, name + ".mdb")
        if not os.path.isfile(path):
            result(False, name + ".mdb", "missing")
            continue
        with open(path, "rb") as f:
            lines, problems = problems_in(name, f.read())
        files[name] = lines
        result(not problems and len(lines) > 0, "%s.mdb (%d lines)" % (name, len(lines)),
               "; ".join(problems[:5]))

    gw = files.get("gw")
    if gw is not None:
        heads = [line.split("~", 1)[0] for line in gw if "~" in line]
        changed = t2s_changes(heads)
        result(changed is not None and not changed, "gw.mdb: no head changes under t2s",
               "the opencc command is missing" if changed is None else
               "%d heads, e.g. %s" % (len(changed), " / ".join(changed[:3])))
        result(t2s_changes(["至於斯", "大车无輗"]) == ["至於斯"],
               "t2s check: a traditional head is reported, one without a GBK simplified form is not")

    for name, query, kind in SPOT_CHECKS:
        lines = files.get(name)
        if lines is None:
            result(False, "%s finds %s" % (name, query), "file missing")
            continue
        if kind == "char":
            found = character_found(lines, query)
            ok = len(found) >= 2  # the header and at least one sense
        elif kind == "head":
            ok = any(line.split("~", 1)[0] == query for line in lines if "~" in line)
            found = phrase_found(lines, query)
            ok = ok and all(t.strip() for t in found)
        else:
            found = phrase_found(lines, query)
            ok = bool(found)
        result(ok, "%s finds %s" % (name, query),
               "not found" if not found else "found %r" % found[:1])

    print("%d passed, %d failed" % (passed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
