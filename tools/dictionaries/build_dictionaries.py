#!/usr/bin/env python3
"""Build the six dictionary files (data/*.mdb) from the packed raw sources.

Usage:
    python3 tools/dictionaries/build_dictionaries.py --sources data/sources --out DIR
        [--report] [--free-only | --free-out FREE_DIR] [--only xh,cy,...]

Every output file is GBK text with CR LF line ends.  Phrase files (xh, cy, ty,
fy, gw) hold one "head~tail" line per entry; zd holds character entries, each a
"~" header line followed by definition lines.  The output depends only on the
archives and on three Debian packages (python3-jieba's word frequencies,
unicode-data's readings, opencc's t2s): every ordering below is explicit, never
the order of a dict or set.  Each phrase file is ordered for its reader
(reader_order.py).  The licence and notice files of every source used go to
OUT/licences/ beside the data.

--free-only builds the openly licensed set instead: 同义词 and 反义词 from the
WordNet-derived lists (CC BY-SA / WordNet licences) in place of the research-use
同义词词林 and the unlicensed scraped antonym list.  --free-out FREE_DIR writes
that set to FREE_DIR as well, building the files both sets share only once.
"""

import argparse
import functools
import json
import os
import re
import shutil
import sys
import tarfile
from collections import OrderedDict

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import errata  # noqa: E402
import guwen_rules  # noqa: E402
import phrase_clean  # noqa: E402
import pinyin_readings  # noqa: E402
import thesaurus  # noqa: E402
from reader_order import WordFrequencies, reader_order  # noqa: E402
import zidian  # noqa: E402

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


# The dictionaries and the character dictionary keep the same characters; cached because every
# character of every entry is checked.
gbk_char_ok = functools.lru_cache(maxsize=None)(zidian.gbk_ok)


def to_gbk_text(text, stats):
    """Return text with known stand-ins applied, or None if a character is
    still outside GBK."""
    if text.isascii():
        return text
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

    def lines(self, order=None):
        """The lines in source order, or in the given order of the heads."""
        for head in (self.entries if order is None else order):
            yield head + "~" + "；".join(self.entries[head])

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


# The best-known sayings, as a teacher would list them: the word frequencies
# cannot tell 外甥打灯笼 from 玻璃灯笼, so these come first, in this order.
XH_WELL_KNOWN = [
    "外甥打灯笼", "黄鼠狼给鸡拜年", "竹篮打水", "哑巴吃黄连", "猪八戒照镜子", "孔夫子搬家",
    "泥菩萨过江", "肉包子打狗", "司马昭之心", "小葱拌豆腐", "芝麻开花", "姜太公钓鱼", "王婆卖瓜",
    "秀才遇见兵", "周瑜打黄盖", "擀面杖吹火", "千里送鹅毛", "和尚打伞", "丈二和尚", "狗咬吕洞宾",
    "茶壶里煮饺子", "老鼠过街", "高射炮打蚊子", "兔子尾巴", "骑驴看唱本", "飞蛾扑灯", "八仙过海",
    "瞎子点灯", "聋子的耳朵", "刘备借荆州", "徐庶进曹营", "大水冲了龙王庙", "马尾穿豆腐",
    "老虎屁股", "脱裤子放屁", "铁公鸡", "热锅上的蚂蚁", "水仙不开花", "小和尚念经", "鸡蛋碰石头",
    "猫哭老鼠", "鸭子上架", "韩信点兵", "诸葛亮借东风", "三个臭皮匠", "蚂蚁搬家", "打肿脸充胖子",
    "竹筒倒豆子", "秋后的蚂蚱", "瞎子摸象", "十五个吊桶打水", "猴子捞月亮", "哪吒闹海",
    "秃子头上的虱子", "孙悟空翻跟头", "孙悟空的金箍棒", "半路上杀出个程咬金",
]


def well_known_first(book, ctx):
    """Heads in reader order: the best-known sayings first, then as
    common_first orders them."""
    known = {h: i for i, h in enumerate(XH_WELL_KNOWN) if h in book.entries}
    freq = ctx.frequencies()
    index = {h: i for i, h in enumerate(book.entries)}
    keys = {h: ((0, known[h]) if h in known else
                (1, -freq.log_prob(h), -freq.log_prob(h, whole=False), index[h])) for h in index}
    return reader_order(list(index), keys.__getitem__)


def build_xh(archive, stats, ctx):
    items = json.loads(archive.text("xiehouyu-pwxcoo/xiehouyu.json"))
    idioms = set(json.loads(ctx.archive("chengyu-xinhua").text("chengyu-xinhua/WordDefinitionPairs.json")))
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
        book.add(phrase_clean.misread_idioms(phrase_clean.clean_xh(r2, stats), idioms, stats, "歇后语"),
                 phrase_clean.misread_idioms(phrase_clean.clean_xh(a2, stats, answer=True), idioms, stats, "歇后语"))
    return book


# ---------------------------------------------------------------------------
# 成语

QUOTE_TRIGGERS = ("亦作", "也作", "又作", "或作", "亦称", "也称", "又称", "俗称", "简称",
                  "称为", "意译为", "译为", "叫做", "叫作", "谓之", "同", "即", "犹", "作",
                  "称", "为", "叫", "曰", "谓", "见", "通")
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
        return restore_single_gloss(idiom, parts, text, stats)
    for i, length in enumerate(glosses):
        if parts[i][length] not in CY_SEP:  # "拔，超出" keeps its comma
            parts[i] = parts[i][:length] + "：" + parts[i][length:]
    stats.add("leading gloss colons restored (entries)")
    return "".join(parts)


# The words of the segmentation dictionary (set by build_cy).
GLOSS_WORDS = frozenset()
def misspelt_twin(idiom, pinyin, twins, readings):
    """Whether the idiom is a misspelt copy of another entry: a syllable that is no reading
    of its character, where the other entry has the character that reads so."""
    pieces, syllables, chars = pinyin_readings.split_pinyin(idiom, pinyin)
    if len(syllables) != len(chars):
        return False
    misfits = [(idiom, c, pieces[i]) for i, c in zip(syllables, chars)
               if not readings.check(c, pieces[i].lower())[0]]
    return bool(misfits) and typo_twin(idiom, misfits, twins, readings)


def typo_twin(idiom, unsure, twins, readings):
    """Whether the idiom is a misspelt copy of another entry: that entry
    differs in one of the characters whose syllable did not fit, and its
    character there has that syllable as a reading."""
    for _, char, syllable in unsure:
        k = idiom.find(char)
        for other in twins.get(idiom[:k] + "?" + idiom[k + 1:], ()):
            if other != idiom and syllable.lower() in readings.all.get(other[k], ()):
                return True
    return False


GLOSS_NOT_AFTER = CY_SEP + "的地得了着是之而也乎者所"


def single_gloss(idiom, sentence):
    """The length of the part of the idiom that sentence glosses ("株露出地面的
    树根" in 守株待兔: 1), or 0 when it reads as anything else.  A sentence that
    starts with the idiom's beginning and goes on with its next character is
    the literal reading ("画蛇时给蛇添上脚"), not a gloss."""
    if len(sentence) > 30:
        return 0
    for length in range(min(len(idiom) - 1, len(sentence) - 2), 0, -1):
        pos = idiom.find(sentence[:length])
        if pos < 0:
            continue
        rest = sentence[length:]
        if rest[0] in GLOSS_NOT_AFTER or "：" in sentence:
            return 0
        if pos == 0 and length == 1 and lone_first_gloss(idiom, sentence):
            return 1
        if pos == 0 and (length == 1 or idiom[length] in rest[:6]):
            # "山立水聚": a lone first character is the literal reading, and so
            # is "画蛇时给蛇添…", going on with the idiom's next character
            # soon ("开怀：心情…，十分畅快" is a gloss)
            return 0
        # "家里的粮食", "寿命像", "共同享受": the sentence begins with a longer
        # word; inside the idiom only a common one counts ("薪：柴草", not 薪柴).
        least = 0 if pos == 0 else 1000
        if any(GLOSS_WORDS.get(sentence[:n], -1) >= least for n in (length + 1, length + 2)):
            return 0
        later = idiom[pos + length:]
        if len(later) >= 2 and re.search(".*".join(map(re.escape, later[:2])), rest):
            return 0  # "箭已搭在弦上": the idiom read out word by word
        if len(phrase_clean.cjk_only(sentence)) <= len(idiom) + 1 and set(idiom) <= set(sentence):
            return 0  # "依样画葫芦" for 葫芦依样: the idiom's own words reordered
        return length
    return 0


def lone_first_gloss(idiom, sentence):
    """Whether a sentence opening with the idiom's first character alone glosses it:
    the gloss repeats the character ("仁仁爱", "快爽快，痛快"), or a short sentence
    starts with no word ("凫野鸭", "厉严格"; not "妖怪和魔鬼", "担心害怕")."""
    first, rest = idiom[0], sentence[1:]
    if idiom[1] == first or not rest or rest[0] in GLOSS_NOT_AFTER or idiom[1] in rest:
        return False
    if any(sentence[:n] in GLOSS_WORDS for n in (2, 3)):
        # "常常", "白白": a reduplicated word, not the character and its gloss
        return rest[0] == first and GLOSS_WORDS.get(sentence[:2], 0) < 1000
    if rest[0] == first:
        return True
    # "山立水聚" for 山峙渊渟: as many characters as the idiom is its paraphrase
    return len(sentence) <= 7 and len(phrase_clean.cjk_only(sentence)) != len(idiom)


# "寻、问打听", "神、妙形容高明；机、算指计谋": characters of the idiom listed, then
# what they mean.  Not before 都/均/皆 ("毫、厘都是…"), which go on with the sentence.
GLOSS_LIST_RE = "^(?:%s)(?:、(?:%s))+(?=[^、，。；：“都均皆是的])"


def later_gloss(idiom, clause):
    """The length of the part of the idiom a clause opens with and glosses, or 0."""
    for n in range(min(len(idiom) - 1, len(clause) - 2), 0, -1):
        if clause[:n] in idiom:
            if clause[n] in GLOSS_NOT_AFTER or any(
                    GLOSS_WORDS.get(clause[:k], 0) >= 1000 for k in (n + 1, n + 2)):
                return 0
            return n
    return 0


def restore_gloss_lists(idiom, text, stats):
    """Colons after the glossed characters listed in the leading clauses."""
    chars = "|".join(map(re.escape, idiom))
    sentence_end = re.search("[。]", text)
    head_end = sentence_end.end() if sentence_end else len(text)
    clauses = re.split(r"(?<=；)", text[:head_end])
    changed = False
    for i, clause in enumerate(clauses):
        if "：" in clause:
            continue
        m = re.match(GLOSS_LIST_RE % (chars, chars), clause)
        if m:
            clauses[i] = clause[:m.end()] + "：" + clause[m.end():]
            changed = True
        elif i and len(clause) <= 12 and later_gloss(idiom, clause):
            # "质本质；相外貌", "格杀打死；勿论不论罪" after a gloss list: the
            # same kind of clause, glossing the longest part of the idiom it opens with
            n = later_gloss(idiom, clause)
            clauses[i] = clause[:n] + "：" + clause[n:]
            changed = True
        elif not i:
            return text
    if not changed:
        return text
    stats.add("gloss colon restored after listed characters (entries)")
    return "".join(clauses) + text[head_end:]


def restore_single_gloss(idiom, parts, text, stats):
    """One leading gloss followed by the explanation proper: "奈何如何，怎么办。…"
    -> "奈何：如何，怎么办。…"."""
    if len(parts) < 2:
        return text
    length = single_gloss(idiom, parts[0])
    if not length:
        return text
    stats.add("single leading gloss colon restored (entries)")
    return parts[0][:length] + "：" + "".join([parts[0][length:]] + parts[1:])


def gloss_colon_missing(idiom, explanation):
    """Whether an explanation still opens with a gloss without its colon (the
    count --report gives)."""
    first = re.split(r"(?<=[。；])", explanation.split(" ", 1)[-1])[0]
    return bool(single_gloss(idiom, first)) and len(first) > 0


def build_cy(archive, stats, ctx):
    defs = json.loads(archive.text("chengyu-xinhua/WordDefinitionPairs.json"),
                      object_pairs_hook=OrderedDict)
    pinyins = json.loads(archive.text("chengyu-xinhua/WordPinyinPairs.json"))
    cleaned = OrderedDict((idiom, phrase_clean.clean_cy_pinyin(clean_field(pinyins.get(idiom, ""), stats),
                                                               stats))
                          for idiom in defs)
    attested = pinyin_readings.attested_readings(cleaned.items())
    global GLOSS_WORDS
    GLOSS_WORDS = ctx.frequencies().freq
    readings = ctx.readings()
    book = PhraseBook(stats)
    twins = {}
    for idiom in defs:
        for k in range(len(idiom)):
            twins.setdefault(idiom[:k] + "?" + idiom[k + 1:], []).append(idiom)
    for idiom, explanation in defs.items():
        pinyin = cleaned[idiom]
        pieces, syllables, chars = pinyin_readings.split_pinyin(idiom, pinyin)
        if chars and len(syllables) != len(chars):
            pinyin, status = pinyin_readings.realign(idiom, pinyin, readings)
            if status == "merged":
                stats.add("entry dropped: two characters merged into one in the head (一硼地)")
                continue
            stats.add({"parted": "pinyin: syllables run together parted",
                       "completed": "pinyin cut short: completed from single readings",
                       "cut": "pinyin cut short: dropped (the end would be guessed)",
                       "missing": "pinyin with a syllable missing: dropped"}[status])
        if misspelt_twin(idiom, pinyin, twins, readings):
            stats.add("entry dropped: head typo of another entry (安分守已 for 安分守己)")
            continue
        before = len(ctx.unsure_pinyin)
        pinyin = pinyin_readings.repair_pinyin(idiom, pinyin, readings, stats,
                                               ctx.unsure_pinyin, attested)
        unsure = ctx.unsure_pinyin[before:]
        if any(char not in readings.standard for _, char, _ in unsure):
            # 花枝招飍, 鉥肝刿肾: a rare character the scrape put in for
            # another; which one is not certain.
            del ctx.unsure_pinyin[before:]
            stats.add("entry dropped: garbled rare character in the head")
            continue
        if misspelt_twin(idiom, pinyin, twins, readings):
            stats.add("entry dropped: head typo of another entry (安分守已 for 安分守己)")
            continue
        before = len(ctx.unsure_pinyin)
        explanation = clean_field(explanation, stats)
        if phrase_clean.cy_garbled(explanation):
            stats.add("entry dropped: explanation garbled ('?' for lost characters)")
            continue
        explanation = phrase_clean.clean_cy_explanation(explanation, stats)
        explanation = phrase_clean.fix_common_typos(explanation, stats, "成语", keep=idiom)
        explanation = phrase_clean.misread_idioms(explanation, defs, stats, "成语")
        explanation = phrase_clean.doubled_de(explanation, stats, "成语")
        explanation = restore_gloss_colons(idiom, explanation, stats)
        explanation = restore_gloss_lists(idiom, explanation, stats)
        explanation = restore_opening_quotes(idiom, explanation, stats)
        if not explanation:
            stats.add("entry dropped: no explanation")
            continue
        if gloss_colon_missing(idiom, explanation):
            stats.add("explanation still opening with a gloss without colon (count)")
        tail = (pinyin + " " + explanation) if pinyin else explanation
        book.add(idiom, tail)
    return book


# ---------------------------------------------------------------------------
# 同义词 and 反义词


def partner_book(word_senses, stats, exclude=None, pos=None):
    """word_senses: OrderedDict word -> list of sense lists of partners; pos
    (thesaurus.PartsOfSpeech) drops partners that cannot stand in for the word."""
    book = PhraseBook(stats)
    for word, senses in word_senses.items():
        head = thesaurus.clean_word(word)
        if head is None:
            stats.add("headword dropped: not a clean Chinese word")
            continue
        tail = thesaurus.partner_line(head, senses, stats,
                                      exclude.get(head, frozenset()) if exclude else frozenset(), pos)
        if tail is None:
            stats.add("word without partner: no line")
            continue
        book.add(head, tail)
    return book


def build_ty(archive, stats, ctx):
    groups = ctx.cilin_groups(archive, stats)
    pos = ctx.parts_of_speech()
    # In 同义词 a lone character for a word goes; an antonym such as 宽~窄
    # is clear enough alone (反义词 keeps them).
    synonyms_pos = thesaurus.PartsOfSpeech({}, single_chars_out=True, strict=True)
    synonyms_pos.tags, synonyms_pos.counts = pos.tags, pos.counts
    book = partner_book(thesaurus.cilin_synonyms(groups, stats), stats, pos=synonyms_pos)
    thesaurus.sibling_kinds_out(book.entries, thesaurus.all_group_synonyms(groups), pos, stats)
    thesaurus.keep_mutual(book.entries, stats)
    return book


def read_antonyms(text, stats):
    by_word = OrderedDict()
    for line in text.splitlines():
        line = line.strip()
        if not line:
            continue
        if ":" not in line:
            stats.add("line without ':' skipped")
            continue
        head, rest = line.split(":", 1)
        head = simplify_scraped(head.strip(), stats)
        if head in by_word:
            stats.add("repeated headword merged")
        by_word.setdefault(head, []).extend(simplify_scraped(p.strip(), stats)
                                            for p in rest.split(";"))
    return by_word


def build_fy(archive, stats, ctx):
    by_word = read_antonyms(archive.text("antonym-fyc/antisem.txt"), stats)
    # The scrape mixed synonyms into some lists (敌人: 仇敌); a partner that the
    # thesaurus puts into one synonym group with the headword is no antonym.
    groups = ctx.cilin_groups(ctx.archive("synonym-cilin"), Stats())
    synonyms = thesaurus.all_group_synonyms(groups)
    # Near-synonyms too: a word that two of the headword's synonyms share a
    # group with (余暇: 清闲 悠闲 via 空闲 and 闲暇).
    for word, near in thesaurus.near_synonyms(groups).items():
        synonyms[word] = synonyms.get(word, set()) | near
    for word, near in thesaurus.synonyms_of_synonyms(groups).items():
        synonyms[word] = synonyms.get(word, set()) | near
    # 回国~归国: one character apart, and those two characters are synonyms.
    single = thesaurus.all_group_synonyms(groups)
    opposed = {}
    for word, partners in by_word.items():
        for p in partners:
            opposed.setdefault(word, set()).add(p)
            opposed.setdefault(p, set()).add(word)
    for word, partners in by_word.items():
        for p in partners:
            if thesaurus.one_synonym_apart(word, p, single, opposed):
                synonyms.setdefault(word, set()).add(p)
    book = partner_book(OrderedDict((w, [ps]) for w, ps in by_word.items()), stats, synonyms,
                        pos=ctx.parts_of_speech())
    keep_supported(book, thesaurus.all_group_synonyms(groups), stats)
    return book


def keep_supported(book, synonyms, stats):
    """A pair the list gives one way only (回国~返国, 噜苏~冗长) is half of
    the time a synonym or an unrelated word, against one in ten of the pairs
    given both ways.  It stays only when something else bears it out: it is a
    synonym of an antonym given both ways (好~差 beside 好~坏), or a synonym of
    the head has it (or it has a synonym of the head) as antonym."""
    partners = {h: set(" ".join(t).replace("；", " ").split()) for h, t in book.entries.items()}
    for head in list(book.entries):
        mine = partners[head]
        both = [q for q in mine if head in partners.get(q, ())]
        kept = []
        for p in book.entries[head][0].split(" "):
            if (head in partners.get(p, ())
                    or any(p in synonyms.get(q, ()) for q in both if q != p)
                    or any(p in partners.get(s, ()) for s in synonyms.get(head, ()) if s != head)
                    or any(head in partners.get(s, ()) for s in synonyms.get(p, ()) if s != p)):
                kept.append(p)
            else:
                stats.add("partner dropped: given one way only, nothing bears it out")
        if kept:
            book.entries[head] = [" ".join(kept)]
        else:
            del book.entries[head]
            stats.add("headword left without antonym: no line")


# The scraped antonym list is simplified Chinese with a few traditional forms
# leaking in (落後, 於是); they are GBK but not what a user types.
FY_SIMPLIFY = {"後": "后", "於": "于"}


def simplify_scraped(word, stats):
    new = "".join(FY_SIMPLIFY.get(ch, ch) for ch in word)
    if new != word:
        stats.add("traditional 後/於 replaced by 后/于")
    return new


def build_free_ty(archive, stats, ctx):
    """同义词 from the WordNet-derived list: the partners of a word, the common
    ones first."""
    freq = ctx.frequencies()
    words = OrderedDict()
    for word, partners in thesaurus.read_derived_tsv(
            archive.text("thesaurus-wordnet-omw/synonyms-derived.tsv")):
        ranked = sorted(range(len(partners)), key=lambda i: (-freq.count(partners[i]), i))
        words.setdefault(word, [[]])[0].extend(partners[i] for i in ranked)
    return partner_book(words, stats)


def build_free_fy(archive, stats, ctx):
    derived = thesaurus.read_derived_tsv(archive.text("thesaurus-wordnet-omw/antonyms-derived.tsv"))
    synonyms = {}
    for word, partners in thesaurus.read_derived_tsv(
            archive.text("thesaurus-wordnet-omw/synonyms-derived.tsv")):
        synonyms.setdefault(word, set()).update(partners)
    words = OrderedDict()
    for word, partners in derived:
        words.setdefault(word, [[]])[0].extend(partners)
    return partner_book(words, stats, synonyms)


# ---------------------------------------------------------------------------
# 古文

GW_BOOKS = ["论语", "孟子", "大学章句集注", "中庸", "尚书", "礼记", "易传", "孝经", "左传",
            "老子", "庄子", "荀子", "韩非子", "墨子", "列子", "孙子兵法", "吕氏春秋", "史记",
            "三国志", "战国策", "国语", "世说新语", "山海经", "三字经", "千字文", "弟子规", "增广贤文",
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


# 出师表 is the part of 三国志·诸葛亮传 from its first to its last sentence.
CHUSHIBIAO = ("先帝创业未半", "临表涕零，不知所言。")


def read_bitext(text, stats):
    """The (classical, modern) pairs of one bitext.txt, in file order."""
    pairs = []
    classical = None
    for raw in text.splitlines():
        line = raw.strip()
        if line.startswith("古文："):
            classical = line[len("古文："):]
        elif line.startswith("现代文：") and classical is not None:
            pairs.append((classical.strip(), line[len("现代文："):].strip()))
            classical = None
        elif line:
            stats.add("stray line in a pair file skipped")
    return pairs


def chushibiao(pairs):
    first = next(i for i, (c, _) in enumerate(pairs) if c.startswith(CHUSHIBIAO[0]))
    last = next(i for i, (c, _) in enumerate(pairs) if c.endswith(CHUSHIBIAO[1]))
    return pairs[first:last + 1]


def guwen_pairs(archives, stats):
    """Every pair of the books, in book order."""
    paths = []
    for archive in archives:
        paths.extend((n, archive) for n in archive.names() if n.endswith("/bitext.txt"))
    paths.sort(key=lambda item: chapter_key(item[0]))
    pairs = []
    for path, archive in paths:
        found = read_bitext(archive.text(path), stats)
        if path.startswith("guwen-chushibiao/"):
            found = chushibiao(found)
            stats.add("出师表 sentence pairs added", len(found))
        pairs.extend(found)
    return pairs


def build_gw(archive, stats, ctx):
    pairs = []
    for classical, modern in guwen_pairs([archive, ctx.archive("guwen-chushibiao")], stats):
        if phrase_clean.gw_has_placeholder(classical + modern):
            stats.add("entry dropped: ■/□/○ placeholder for lost characters")
            continue
        pairs.append((phrase_clean.clean_gw(gw_text(classical, stats), stats, "classical"),
                      phrase_clean.clean_gw(gw_text(modern, stats), stats, "modern")))
    # Twice: t2s keeps 於戲 as 於戏 (呜呼), which a second run makes 于戏; a
    # head must be what t2s leaves alone.
    heads = phrase_clean.t2s_lines(phrase_clean.t2s_lines([c for c, _ in pairs]))
    tails = phrase_clean.t2s_lines([m for _, m in pairs])
    simplified = []
    for (classical, modern), head, tail in zip(pairs, heads, tails):
        head = phrase_clean.keep_gbk(classical, head, gbk_char_ok)
        tail = phrase_clean.keep_gbk(modern, tail, gbk_char_ok)
        if head != classical:
            stats.add("traditional form made simplified (classical, t2s)")
        if tail != modern:
            stats.add("traditional form made simplified (modern, t2s)")
        simplified.append((head, tail))
    book = PhraseBook(stats)
    for head, tail in guwen_rules.mend_pairs(simplified, ctx.frequencies(), stats):
        if len(tail) > 80 and len(tail) > 6 * len(head):
            # Likely to carry a neighbouring sentence: left for the review.
            stats.add("translation over six times its line's length (flagged for review)")
        if phrase_clean.gw_echo(head, tail):
            stats.add("entry dropped: translation repeats the text (titles, echoes)")
            continue
        book.add(head, tail)
    return book


def guwen_sources(archives):
    """The translation sources each chapter names (数据来源.txt), per book, in
    book order, every source once."""
    paths = []
    for archive in archives:
        paths.extend((n, archive) for n in archive.names() if n.endswith("/数据来源.txt"))
    paths.sort(key=lambda item: chapter_key(item[0]))
    out = []
    book = None
    seen = set()
    for path, archive in paths:
        name = path.split("/")[2]
        if name != book:
            out.append("")
            out.append("《%s》" % name)
            book, seen = name, set()
        for line in archive.text(path).splitlines():
            line = re.sub(r"^\d+、", "", line.strip())
            if line and line != "参考资料：" and line not in seen:
                seen.add(line)
                out.append(line)
    return out


# ---------------------------------------------------------------------------


class Context:
    """What several builders share, loaded once: the archives, the word
    frequencies, the character readings, the thesaurus groups."""

    def __init__(self, sources):
        self.sources = sources
        self.archives = OrderedDict()
        self.debian = []  # Debian packages whose data shaped the files
        self.used = set()  # licence folders of what the file being built drew on
        self.unsure_pinyin = []
        self._frequencies = self._readings = self._groups = self._pos = None

    def archive(self, name):
        if name not in self.archives:
            self.archives[name] = Archive(os.path.join(self.sources, name + ".tar.xz"))
        self.used.add(name)
        return self.archives[name]

    def frequencies(self):
        if self._frequencies is None:
            self._frequencies = WordFrequencies.from_file()
            self.debian.append("python3-jieba")
        self.used.add("debian-python3-jieba")
        return self._frequencies

    def readings(self):
        if self._readings is None:
            self._readings = pinyin_readings.Readings.from_file()
            self.debian.append("unicode-data")
        self.used.add("debian-unicode-data")
        return self._readings

    def parts_of_speech(self):
        if self._pos is None:
            self._pos = thesaurus.PartsOfSpeech.from_file()
            self.frequencies()  # the same Debian package, listed once
        return self._pos

    def cilin_groups(self, archive, stats):
        if self._groups is None:
            self._groups = thesaurus.cilin_groups(archive.text("synonym-cilin/dict_synonym.txt"), stats)
        return self._groups


# The phrase files written in simplified Chinese whose sources leak
# traditional forms (古文 is simplified as it is read).
SIMPLIFY = ("xh", "cy", "ty", "fy")


def simplify_book(book, stats, partners=False):
    """Every traditional form that GBK has in simplified form made simplified
    (OpenCC t2s, with the exceptions of phrase_clean.simplify_line); heads
    that become equal are merged, and a partner that becomes a repeat goes."""
    old = list(book.entries.items())
    lines = [head + "~" + "\n".join(tails) for head, tails in old]
    converted = phrase_clean.t2s_lines([line.replace("\n", "\u2028") for line in lines])
    book.entries.clear()
    for (head, tails), line, conv in zip(old, lines, converted):
        new = phrase_clean.simplify_line(line, conv.replace("\u2028", "\n"), gbk_char_ok)
        if new != line:
            stats.add("traditional form made simplified (lines, t2s)")
        mended = phrase_clean.mend_zhu(new)
        if mended != new:
            stats.add("着 made 著 where only 著 is right (昭著, 著称) (lines)")
            new = mended
        new_head, rest = new.split("~", 1)
        new_tails = rest.split("\n")
        if partners:
            new_tails = [dedupe_partners(new_head, t, stats) for t in new_tails]
            new_tails = [t for t in new_tails if t]
            if not new_tails:
                stats.add("entry dropped: only its own simplified form was left as partner")
                continue
        if new_head in book.entries:
            if partners:
                stats.add("heads equal once simplified merged")
                merged = dedupe_partners(new_head, "；".join(book.entries[new_head] + new_tails), stats)
                book.entries[new_head] = [merged]
            else:
                # 反覆无常 beside 反复无常: the same entry twice, the first kept.
                stats.add("entry dropped: its simplified form is an entry already")
        else:
            book.entries[new_head] = new_tails


def dedupe_partners(head, tail, stats):
    seen = {head}
    senses = []
    for sense in tail.split("；"):
        kept = []
        for p in sense.split(" "):
            if p and p not in seen and len(seen) <= thesaurus.MAX_PARTNERS:
                seen.add(p)
                kept.append(p)
        if kept:
            senses.append(" ".join(kept))
    return "；".join(senses)


def common_first(book, ctx):
    """Heads in reader order: the most probable under the word frequencies
    first (a word or idiom of the dictionary by its own count, anything else by
    its most probable cut into words), then by how common their parts are,
    then in source order."""
    freq = ctx.frequencies()
    index = {h: i for i, h in enumerate(book.entries)}
    keys = {h: (-freq.log_prob(h), -freq.log_prob(h, whole=False), index[h]) for h in index}
    return reader_order(list(index), keys.__getitem__)


def source_order(book, ctx):
    """Heads in reader order, the books' own order otherwise kept."""
    index = {h: i for i, h in enumerate(book.entries)}
    return reader_order(list(index), index.__getitem__)


NOTICE_RE = re.compile(r"^[^/]+/(LICENSE[^/]*|copyright[^/]*|citation[^/]*|SOURCE\.md|README[^/]*)$",
                       re.IGNORECASE)
DEBIAN_COPYRIGHT = "/usr/share/doc/%s/copyright"


def write_licences(out, ctx, used):
    """OUT/licences/<source>/: the licence and notice files of every source
    used, the translation sources of 古文, and the copyright files of the
    Debian packages whose data the converter used (`used` names the folders
    of the set written to OUT)."""
    folder = os.path.join(out, "licences")
    shutil.rmtree(folder, ignore_errors=True)
    for name, archive in ctx.archives.items():
        if name not in used:
            continue
        os.makedirs(os.path.join(folder, name), exist_ok=True)
        for member in archive.names():
            if NOTICE_RE.match(member):
                with open(os.path.join(folder, member), "wb") as f:
                    f.write(archive.files[member])
        if name.startswith("guwen-"):
            lines = ["各章现代文译文的来源（数据来源.txt，按书汇总）"] + guwen_sources([archive])
            with open(os.path.join(folder, name, "数据来源.txt"), "wb") as f:
                f.write(("\n".join(lines) + "\n").encode("utf-8"))
    for package in ctx.debian:
        if "debian-" + package not in used:
            continue
        os.makedirs(os.path.join(folder, "debian-" + package), exist_ok=True)
        shutil.copyfile(DEBIAN_COPYRIGHT % package, os.path.join(folder, "debian-" + package, "copyright"))


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[1])
    ap.add_argument("--sources", required=True, help="folder with the <source>.tar.xz archives")
    ap.add_argument("--out", required=True, help="folder for the .mdb files")
    ap.add_argument("--report", action="store_true", help="print what each cleaning rule changed")
    mode = ap.add_mutually_exclusive_group()
    mode.add_argument("--free-only", action="store_true",
                      help="openly licensed sources only: 同义词 and 反义词 from WordNet")
    mode.add_argument("--free-out", metavar="FREE_DIR",
                      help="also write the openly licensed set (as --free-only builds it) to FREE_DIR")
    ap.add_argument("--only", help="build only these files, e.g. ty,fy (no licence folder)")
    args = ap.parse_args(argv)
    ctx = Context(args.sources)
    archive = ctx.archive

    jobs = [
        ("xh", "xiehouyu-pwxcoo", build_xh),
        ("cy", "chengyu-xinhua", build_cy),
        ("ty", "synonym-cilin", build_ty),
        ("fy", "antonym-fyc", build_fy),
        ("gw", "guwen-niutrans", build_gw),
        ("zd", " ".join(zidian.SOURCES), None),
    ]
    free = {"ty": ("thesaurus-wordnet-omw", build_free_ty), "fy": ("thesaurus-wordnet-omw", build_free_fy)}
    free_jobs = [(short,) + free[short] if short in free else (short, source, builder)
                 for short, source, builder in jobs]
    # Each set: its folder, its files, and whether it is the openly licensed one.
    sets = [(args.out, free_jobs, True)] if args.free_only else [(args.out, jobs, False)]
    if args.free_out:
        sets.append((args.free_out, free_jobs, True))
    wanted = set(args.only.split(",")) if args.only else None
    order = {"gw": source_order, "xh": well_known_first}
    try:
        corrections = errata.load()
    except ValueError as err:
        sys.exit("errata: %s" % err)
    # A file the sets share (same name, same builder) is built once: its
    # lines and the licence folders it drew on.
    built = {}
    for out, set_jobs, free_set in sets:
        os.makedirs(out, exist_ok=True)
        if args.report and len(sets) > 1:
            print("%s:" % out)
        used = set()
        if free_set:
            # The WordNet-derived lists hold Chinese Open Wordnet's words too.
            archive("synonym-cow")
            used.add("synonym-cow")
        for short, source, builder in set_jobs:
            if wanted is not None and short not in wanted:
                continue
            path = os.path.join(out, short + ".mdb")
            if (short, builder) in built:
                lines, file_used = built[(short, builder)]
                used |= file_used
                write_lines(path, lines)
                continue
            stats = Stats()
            ctx.used = set()
            # The reviewed errata are made for the default sources; the openly
            # licensed 同义词/反义词 come from other lists and get none.
            mine = [e for e in corrections if e.file == short
                    and not (free_set and short in ("ty", "fy"))]
            try:
                if builder is None:
                    lines, count = zidian.build_zd(archive, stats)
                    errata.apply_zidian(lines, mine, stats)
                else:
                    book = builder(archive(source), stats, ctx)
                    if short in SIMPLIFY:
                        simplify_book(book, stats, partners=short in ("ty", "fy"))
                    errata.apply_phrases(book.entries, mine, stats)
                    if short == "cy":
                        # What the review mended is no longer unsure.
                        ctx.unsure_pinyin = [u for u in ctx.unsure_pinyin if u[0] in book.entries and
                                             u[2] in re.split(r"[ ，]", book.entries[u[0]][0])]
            except errata.Unmatched as err:
                sys.exit("erratum no longer matches, mend or remove it: %s" % err)
            if builder is not None:
                heads = order.get(short, common_first)(book, ctx)
                lines, count = list(book.lines(heads)), len(book)
            built[(short, builder)] = (lines, ctx.used)
            used |= ctx.used
            size = write_lines(path, lines)
            if args.report:
                print("%s.mdb: %d entries, %d lines, %d bytes (from %s)"
                      % (short, count, len(lines), size, source))
                for line in stats.lines():
                    print(line)
                if short == "cy":
                    print("  %-60s %d" % ("entries left with a syllable that is no reading (count)",
                                          len({u[0] for u in ctx.unsure_pinyin})))
                if short == "cy" and ctx.unsure_pinyin:
                    print("  pinyin left as it is (no certain repair): %s"
                          % "、".join("%s %s=%s" % u for u in ctx.unsure_pinyin[:12]) + " …")
        if wanted is None:
            write_licences(out, ctx, used)
    return 0


if __name__ == "__main__":
    sys.exit(main())
