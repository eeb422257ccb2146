#!/usr/bin/env python3
"""Build the six dictionary files (data/*.mdb) from the packed raw sources.

Usage:
    python3 tools/dictionaries/build_dictionaries.py --sources data/sources --out DIR [--report]

Every output file is GBK text with CR LF line ends.  Phrase files (xh, cy, ty,
fy, gw) hold one "head~tail" line per entry; zd holds character entries, each a
"~" header line followed by definition lines.  The output depends only on the
archives: every ordering below is explicit, never the order of a dict or set.
"""

import argparse
import io
import json
import os
import re
import sys
import tarfile
import unicodedata
from collections import OrderedDict

import zidian

# ---------------------------------------------------------------------------
# Reading the archives


class Archive:
    """The files of one packed source, by path inside the archive."""

    def __init__(self, path):
        self.files = {}
        with tarfile.open(path, mode="r:xz") as tar:
            for member in tar.getmembers():
                if member.isfile():
                    self.files[member.name] = tar.extractfile(member).read()

    def text(self, name):
        return self.files[name].decode("utf-8")

    def names(self):
        return sorted(self.files)


# ---------------------------------------------------------------------------
# Statistics: every cleaning rule counts what it changed, per file.


class Stats:
    def __init__(self):
        self.rules = OrderedDict()

    def add(self, rule, n=1):
        self.rules[rule] = self.rules.get(rule, 0) + n

    def lines(self):
        return ["  %-60s %d" % (rule, n) for rule, n in self.rules.items()]


# ---------------------------------------------------------------------------
# GBK safety

# Characters outside GBK (or ones the program must not show) that occur in the
# sources and have a plain GBK stand-in.  Anything else outside GBK makes the
# entry unusable, and it is dropped.
GBK_REPLACEMENTS = {
    "\u2022": "\u00b7",  # • bullet used as a name separator -> · middle dot
    "\u200b": "",        # zero width space
    "\u00a0": " ",       # no-break space
    "\u2002": " ",
    "\u2003": " ",
    "\ufeff": "",        # stray byte order mark
}


def gbk_char_ok(ch):
    if ch == "\u20ac" or "\ue000" <= ch <= "\uf8ff" or ord(ch) > 0xFFFF:
        return False
    try:
        ch.encode("gbk")
    except UnicodeEncodeError:
        return False
    return True


def to_gbk_text(text, stats):
    """Return text with known stand-ins applied, or None if a character is
    still outside GBK."""
    out = []
    for ch in text:
        if ch in GBK_REPLACEMENTS:
            out.append(GBK_REPLACEMENTS[ch])
            stats.add("non-GBK character replaced by a GBK stand-in")
        elif gbk_char_ok(ch):
            out.append(ch)
        else:
            return None
    return "".join(out)


CONTROL_RE = re.compile(r"[\x00-\x1f\x7f-\x9f]")
SPACES_RE = re.compile(r"[ \u3000]{2,}")


def clean_field(text, stats):
    """Trim, turn tabs and control characters into blanks, squeeze blanks."""
    new = CONTROL_RE.sub(" ", text)
    if new != text:
        stats.add("tab or control character replaced by a blank")
    squeezed = SPACES_RE.sub(" ", new)
    if squeezed != new:
        stats.add("run of blanks squeezed to one")
    stripped = squeezed.strip(" \u3000")
    if stripped != squeezed:
        stats.add("leading/trailing blanks trimmed")
    return stripped


def no_ascii_tilde(text, stats):
    # The program cuts a phrase line at its first "~"; an ASCII tilde inside
    # the text would cut it in the wrong place, so it becomes the full-width one.
    if "~" in text:
        stats.add("ASCII '~' replaced by full-width '～'")
        return text.replace("~", "\uff5e")
    return text


# ---------------------------------------------------------------------------
# Phrase files


class PhraseBook:
    """Collects head -> tail entries; a repeated head merges its tails."""

    def __init__(self, stats):
        self.stats = stats
        self.entries = OrderedDict()  # insertion order = source order

    def add(self, head, tail):
        stats = self.stats
        head = no_ascii_tilde(clean_field(head, stats), stats)
        tail = no_ascii_tilde(clean_field(tail, stats), stats)
        gh = to_gbk_text(head, stats)
        gt = to_gbk_text(tail, stats)
        if gh is None or gt is None:
            stats.add("entry dropped: character outside GBK without a stand-in")
            return
        # A stand-in may leave nothing behind (a lone zero width space).
        head, tail = gh.strip(" \u3000"), gt.strip(" \u3000")
        if not head:
            stats.add("entry dropped: empty head")
            return
        if not tail:
            stats.add("entry dropped: empty tail")
            return
        if head in self.entries:
            parts = self.entries[head]
            if tail in parts:
                stats.add("duplicate entry dropped")
            else:
                parts.append(tail)
                stats.add("same head merged (tails joined with '；')")
        else:
            self.entries[head] = [tail]

    def lines(self):
        for head, tails in self.entries.items():
            yield head + "~" + "；".join(tails)

    def __len__(self):
        return len(self.entries)


def write_lines(path, lines):
    data = "".join(line + "\r\n" for line in lines).encode("gbk")
    with open(path, "wb") as f:
        f.write(data)
    return len(data)


# ---------------------------------------------------------------------------
# 歇后语

# Entries whose brackets were garbled by the scrape but whose text is
# otherwise whole: the repaired riddle and answer.
XH_FIXES = {
    ("赵五娘“琵琶记》中人物）上京", "一路辛苦"): ("赵五娘（《琵琶记》中人物）上京", "一路辛苦"),
    ("王八作报告", "憋（鳖>声憋（鳖）气"): ("王八作报告", "憋（鳖）声憋（鳖）气"),
    ("土地爷洗脸", "失{湿）面子"): ("土地爷洗脸", "失（湿）面子"),
    ("肩膀上搭炉灶", "恼《脑）火"): ("肩膀上搭炉灶", "恼（脑）火"),
    ("梅兰芳唱（霸王别姬》", "拿手好戏"): ("梅兰芳唱《霸王别姬》", "拿手好戏"),
    ("小鬼看见钟馗Ikuf）像", "望而生畏"): ("小鬼看见钟馗像", "望而生畏"),
    ("贼娃子㈠、偷）打官司", "场场输"): ("贼娃子打官司", "场场输"),
    ("小婆㈠、妾）当家", "做不了主；缺乏主见"): ("小婆当家", "做不了主；缺乏主见"),
    ("十两纹银㈠日时称成色最好的银子）", "一定（锭）"): ("十两纹银", "一定（锭）"),
    ("大眼贼碰上仓老鼠㈠、老鼠）", "大眼瞪小眼"): ("大眼贼碰上仓老鼠", "大眼瞪小眼"),
    ("叭拉狗咬月亮", "不知天多高（比喻不知道自己有多大本事，非常不自量力"):
        ("叭拉狗咬月亮", "不知天多高（比喻不知道自己有多大本事，非常不自量力）"),
}

PINYIN_ONLY_NOTE_RE = re.compile(r"（[A-Za-z ]+）")
PINYIN_LEAD_RE = re.compile(r"（[A-Za-z ]+(?=[^A-Za-z ）（])")


def bracket_balanced(text):
    depth = 0
    for ch in text:
        if ch == "（":
            depth += 1
        elif ch == "）":
            depth -= 1
            if depth < 0:
                return False
    return depth == 0


def strip_pinyin_notes(text):
    """Drop toneless pinyin from bracketed notes: "蒺藜（ji li 一年生…）" ->
    "蒺藜（一年生…）", "马谡（su）" -> "马谡"."""
    text = PINYIN_ONLY_NOTE_RE.sub("", text)
    return PINYIN_LEAD_RE.sub("（", text)


RIDDLE_NOTE_RE = re.compile(r"（([^（）]*)）")


def move_riddle_notes(riddle, answer, stats):
    """Move bracketed notes out of the riddle into the answer, so that the
    words a user types ("嘴上挂蒺藜") are one run in the searched head:
    "嘴上挂蒺藜（一年生草本植物…）" / "说话带刺" -> "嘴上挂蒺藜" /
    "说话带刺（注：一年生草本植物…）"."""
    notes = [n.strip() for n in RIDDLE_NOTE_RE.findall(riddle) if n.strip()]
    head = RIDDLE_NOTE_RE.sub("", riddle).strip()
    if head == riddle or not head:
        return riddle, answer
    stats.add("bracketed note moved from the riddle to the answer")
    if notes:
        answer = answer + "（注：" + "；".join(notes) + "）"
    return head, answer


def build_xh(archive, stats):
    items = json.loads(archive.text("xiehouyu-pwxcoo/xiehouyu.json"))
    book = PhraseBook(stats)
    for item in items:
        riddle, answer = item["riddle"], item["answer"]
        fix = XH_FIXES.get((riddle, answer))
        if fix:
            riddle, answer = fix
            stats.add("garbled brackets repaired from a fixed list")
        elif not (bracket_balanced(riddle) and bracket_balanced(answer)):
            # The scrape cut these at a lost tone-marked pinyin letter inside a
            # note, e.g. "蘸（zh" + "n）了汽油的稻草": the text after the note
            # continues the riddle and the answer itself is lost; when the cut
            # is in the answer ("里外孬（n") its end is lost.  Neither half can
            # be told apart reliably, so such entries are dropped.
            stats.add("entry dropped: cut inside a pinyin note, answer lost")
            continue
        r2, a2 = strip_pinyin_notes(riddle), strip_pinyin_notes(answer)
        if (r2, a2) != (riddle, answer):
            stats.add("toneless pinyin removed from a bracketed note")
        r2, a2 = move_riddle_notes(r2, a2, stats)
        book.add(r2, a2)
    return book


# ---------------------------------------------------------------------------
# 成语

QUOTE_TRIGGERS = ("亦作", "也作", "又作", "或作", "亦称", "也称", "又称", "俗称", "简称",
                  "称为", "意译为", "译为", "叫做", "叫作", "谓之", "同", "即", "犹", "作",
                  "称", "为", "叫", "曰", "谓", "见")
LEADING_TRIGGERS = ("同", "亦作", "也作", "又作", "或作", "亦称", "也称", "又称", "参见", "见",
                    "犹言", "即")
CY_SEP = "，。；：、！？,.;:（）()《》“”‘’ "


def quote_start(idiom, text, start, end):
    """Where the lost "“" of the quote ending at text[end] goes, and whether a
    gloss colon goes with it; None when the clause shows no clear pattern.
    text[start:end] is the clause before the "”"."""
    clause = text[start:end]
    if not clause:
        return None
    lead = [t for t in LEADING_TRIGGERS if clause.startswith(t) and len(clause) > len(t)]
    if lead:
        # "同见贤思齐”": a clause that opens with 同/亦作/参见… quotes all the rest.
        return start + len(max(lead, key=len)), False
    if start > 0 and text[start - 1] == "：":
        # "诸：之于”的合成词": a quoted gloss right after a restored colon.
        return start, False
    if text[start - 2:start] == "”、":
        # "亦作“舐犊之念”、舐犊之私”": the next word of a quoted list.
        return start, False
    best = -1
    for trig in QUOTE_TRIGGERS:
        i = clause.rfind(trig)
        while i >= 0 and i + len(trig) >= len(clause):
            i = clause.rfind(trig, 0, i)
        if i >= 0 and i + len(trig) > best:
            best = i + len(trig)
    if best > 0:
        # "意译为无间”": the quote opens after the last trigger word.
        return start + best, False
    if clause[0] in idiom and len(clause) > 1:
        # "诸之于”": a gloss of 诸 whose colon and quote were both lost.
        return start + 1, True
    return None


def restore_opening_quotes(idiom, text, stats):
    """Put back the "“" lost before a quoted word: "同惹祸招灾”" ->
    "同“惹祸招灾”", "意译为无间”" -> "意译为“无间”"."""
    out = []
    pos = 0
    depth = 0
    for i, ch in enumerate(text):
        if ch == "“":
            depth += 1
        elif ch == "”":
            if depth > 0:  # already has its opening quote
                depth -= 1
                continue
            start = i
            while start > 0 and text[start - 1] not in CY_SEP:
                start -= 1
            found = quote_start(idiom, text, start, i)
            if found is None:
                stats.add("unmatched closing quote left as it is")
                continue
            at, colon = found
            out.append(text[pos:at])
            out.append("：“" if colon else "“")
            pos = at
            stats.add("gloss colon restored before a quoted word" if colon
                      else "opening quote restored")
    out.append(text[pos:])
    return "".join(out)


def restore_gloss_colons(idiom, text, stats):
    """Put back the colon of leading glosses: "阿名词的前缀。姑丈夫的母亲。翁丈夫
    的父亲。指公公婆婆。" -> "阿：名词的前缀。姑：丈夫的母亲。翁：…".  Only a run of
    at least two leading sentences, each starting with a part of the idiom at
    increasing positions and followed by at least one more sentence, is taken
    as glosses; one sentence alone ("画蛇时给蛇添上脚。") is left as it is."""
    parts = [p for p in re.split(r"(?<=[。；])", text) if p]
    glosses = []
    last_pos = -1
    for part in parts[:-1]:  # the last sentence is never a gloss
        found = None
        for length in range(min(len(idiom), len(part) - 2), 0, -1):
            p = idiom.find(part[:length], last_pos + 1)
            if p >= 0:
                found = (length, p)
                break
        if not found:
            break
        glosses.append(found[0])
        last_pos = found[1]
    if len(glosses) < 2:
        return text
    for i, length in enumerate(glosses):
        if parts[i][length] not in CY_SEP:  # "拔，超出" keeps its comma
            parts[i] = parts[i][:length] + "：" + parts[i][length:]
    stats.add("leading gloss colons restored (entries)")
    return "".join(parts)


def build_cy(archive, stats):
    defs = json.loads(archive.text("chengyu-xinhua/WordDefinitionPairs.json"),
                      object_pairs_hook=OrderedDict)
    pinyins = json.loads(archive.text("chengyu-xinhua/WordPinyinPairs.json"))
    book = PhraseBook(stats)
    for idiom, explanation in defs.items():
        pinyin = clean_field(pinyins.get(idiom, ""), stats)
        explanation = clean_field(explanation, stats)
        explanation = restore_gloss_colons(idiom, explanation, stats)
        explanation = restore_opening_quotes(idiom, explanation, stats)
        if not explanation:
            stats.add("entry dropped: no explanation")
            continue
        tail = (pinyin + " " + explanation) if pinyin else explanation
        book.add(idiom, tail)
    return book


# ---------------------------------------------------------------------------
# 同义词 and 反义词

MAX_PARTNERS = 30


def partner_book(words_to_partners, stats):
    """words_to_partners: OrderedDict word -> list of partners, closest first."""
    book = PhraseBook(stats)
    for word, partners in words_to_partners.items():
        seen = []
        for p in partners:
            p = clean_field(p, stats)
            if not p:
                continue
            if p == word:
                stats.add("partner identical to the head dropped")
                continue
            if p in seen:
                stats.add("duplicate partner dropped")
                continue
            if to_gbk_text(p, stats) is None or " " in p or "~" in p:
                stats.add("partner dropped: not a clean GBK word")
                continue
            seen.append(p)
        if len(seen) > MAX_PARTNERS:
            stats.add("partner list cut to %d (lines)" % MAX_PARTNERS)
            seen = seen[:MAX_PARTNERS]
        if not seen:
            stats.add("word without partner: no line")
            continue
        book.add(word, " ".join(seen))
    return book


def build_ty(archive, stats):
    groups = []  # (size, line number, words) of "=" groups
    order = []   # words in order of first appearance in any "=" group
    skipped_related = 0
    for lineno, line in enumerate(archive.text("synonym-cilin/dict_synonym.txt").splitlines()):
        line = line.strip()
        if not line:
            continue
        code, *words = line.split(" ")
        flag = code[-1:]
        if flag == "#":
            # Related words of one class (龙门刨 牛头刨), not synonyms: unused.
            skipped_related += 1
            continue
        if flag != "=":
            continue
        groups.append((len(words), lineno, words))
    stats.add("'#' groups (related, not equal) left out", skipped_related)
    by_word = OrderedDict()
    # The word's own groups, smallest (most specific) first, ties in file order;
    # within a group the thesaurus order, which puts the core words first.
    for size, lineno, words in sorted(groups, key=lambda g: (g[1],)):
        for w in words:
            by_word.setdefault(w, [])
    for size, lineno, words in sorted(groups, key=lambda g: (g[0], g[1])):
        for w in words:
            by_word[w].extend(words)
    return partner_book(by_word, stats)


def build_fy(archive, stats):
    by_word = OrderedDict()
    for line in archive.text("antonym-fyc/antisem.txt").splitlines():
        line = line.strip()
        if not line:
            continue
        if ":" not in line:
            stats.add("line without ':' skipped")
            continue
        head, rest = line.split(":", 1)
        head = head.strip()
        partners = [p.strip() for p in rest.split(";")]
        if head in by_word:
            stats.add("repeated headword merged")
        by_word.setdefault(head, []).extend(partners)
    fixed = OrderedDict()
    for head, partners in by_word.items():
        new_head = simplify_scraped(head, stats)
        if new_head in fixed:
            stats.add("repeated headword merged")
        fixed.setdefault(new_head, []).extend(simplify_scraped(p, stats) for p in partners)
    return partner_book(fixed, stats)


# The scraped antonym list is simplified Chinese with a few traditional forms
# leaking in (落後, 於是); they are GBK but not what a user types.
FY_SIMPLIFY = {"後": "后", "於": "于"}


def simplify_scraped(word, stats):
    new = "".join(FY_SIMPLIFY.get(ch, ch) for ch in word)
    if new != word:
        stats.add("traditional 後/於 replaced by 后/于")
    return new


# ---------------------------------------------------------------------------
# 古文

GW_BOOKS = ["论语", "孟子", "大学章句集注", "中庸", "尚书", "礼记", "易传", "孝经", "左传",
            "老子", "庄子", "荀子", "韩非子", "墨子", "列子", "孙子兵法", "吕氏春秋", "史记",
            "战国策", "国语", "世说新语", "山海经", "三字经", "千字文", "弟子规", "增广贤文",
            "幼学琼林", "菜根谭", "颜氏家训", "朱子家训", "围炉夜话", "三十六计"]

# Chapter order where the folder names do not sort into the book's own order.
GW_CHAPTERS = {
    "论语": ["学而篇", "为政篇", "八佾篇", "里仁篇", "公冶长篇", "雍也篇", "述而篇", "泰伯篇",
             "子罕篇", "乡党篇", "先进篇", "颜渊篇", "子路篇", "宪问篇", "卫灵公篇", "季氏篇",
             "阳货篇", "微子篇", "子张篇", "尧曰篇"],
    "孟子": ["梁惠王章句上", "梁惠王章句下", "公孙丑章句上", "公孙丑章句下", "滕文公章句上",
             "滕文公章句下", "离娄章句上", "离娄章句下", "万章章句上", "万章章句下",
             "告子章句上", "告子章句下", "尽心章句上", "尽心章句下"],
    "史记": ["十二本纪", "十表", "八书", "三十世家", "七十列传"],
}

CN_DIGITS = {"零": 0, "〇": 0, "一": 1, "二": 2, "两": 2, "三": 3, "四": 4, "五": 5,
             "六": 6, "七": 7, "八": 8, "九": 9}
CN_NUMBER_RE = re.compile("[零〇一二两三四五六七八九十百]+")


def cn_number(s):
    total, cur = 0, 0
    for ch in s:
        if ch in CN_DIGITS:
            cur = CN_DIGITS[ch]
        elif ch == "十":
            total += (cur or 1) * 10
            cur = 0
        elif ch == "百":
            total += (cur or 1) * 100
            cur = 0
    return total + cur


def name_key(name):
    """Folder names compared with their Chinese numbers by value
    (第二章 before 第十章), the rest by code point."""
    key = []
    pos = 0
    for m in CN_NUMBER_RE.finditer(name):
        key.append((0, name[pos:m.start()]))
        key.append((1, cn_number(m.group())))
        pos = m.end()
    key.append((0, name[pos:]))
    return [(kind, str(v) if kind == 0 else "%09d" % v) for kind, v in key]


def chapter_key(path):
    parts = path.split("/")  # guwen-niutrans/双语数据/<book>/<chapter>/.../bitext.txt
    book = parts[2]
    book_rank = GW_BOOKS.index(book) if book in GW_BOOKS else len(GW_BOOKS)
    key = [(book_rank, book)]
    fixed = GW_CHAPTERS.get(book, [])
    for i, part in enumerate(parts[3:-1]):
        if i == 0 and part in fixed:
            key.append(((0, "%09d" % fixed.index(part)),))
        else:
            key.append(tuple([(1, "")] + name_key(part)))
    return key


GW_SPACE_RE = re.compile(r"(?<=[^\x00-\x7f])\s+(?=[^\x00-\x7f])")


def gw_text(text, stats):
    # Upstream replaced every quotation mark by a blank ("子曰： 道之以政");
    # between two Chinese characters such a blank only gets in the way.
    new = GW_SPACE_RE.sub("", text)
    if new != text:
        stats.add("blank between Chinese characters removed (lost quotes)")
    return new


def build_gw(archive, stats):
    paths = [n for n in archive.names() if n.endswith("/bitext.txt")]
    paths.sort(key=chapter_key)
    book = PhraseBook(stats)
    for path in paths:
        classical = None
        for raw in archive.text(path).splitlines():
            line = raw.strip()
            if line.startswith("古文："):
                classical = line[len("古文："):]
            elif line.startswith("现代文：") and classical is not None:
                modern = line[len("现代文："):]
                book.add(gw_text(classical.strip(), stats), gw_text(modern.strip(), stats))
                classical = None
            elif line:
                stats.add("stray line in a pair file skipped")
    return book


# ---------------------------------------------------------------------------


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[1])
    ap.add_argument("--sources", required=True, help="folder with the <source>.tar.xz archives")
    ap.add_argument("--out", required=True, help="folder for the .mdb files")
    ap.add_argument("--report", action="store_true", help="print what each cleaning rule changed")
    args = ap.parse_args(argv)
    os.makedirs(args.out, exist_ok=True)

    def archive(name):
        return Archive(os.path.join(args.sources, name + ".tar.xz"))

    jobs = [
        ("xh", "xiehouyu-pwxcoo", build_xh),
        ("cy", "chengyu-xinhua", build_cy),
        ("ty", "synonym-cilin", build_ty),
        ("fy", "antonym-fyc", build_fy),
        ("gw", "guwen-niutrans", build_gw),
        ("zd", " ".join(zidian.SOURCES), None),
    ]
    for short, source, builder in jobs:
        stats = Stats()
        path = os.path.join(args.out, short + ".mdb")
        if builder is None:
            lines, count = zidian.build_zd(archive, stats)
        else:
            book = builder(archive(source), stats)
            lines, count = list(book.lines()), len(book)
        size = write_lines(path, lines)
        if args.report:
            print("%s.mdb: %d entries, %d lines, %d bytes (from %s)"
                  % (short, count, len(lines), size, source))
            for line in stats.lines():
                print(line)
    return 0


if __name__ == "__main__":
    sys.exit(main())
