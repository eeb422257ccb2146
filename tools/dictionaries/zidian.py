"""新华字典 (zd.mdb): one entry per character, built from three packed sources.

- hanzi-unihan: which characters are standard (通用规范汉字表, in its order),
  and every header: the standard modern readings, the radical, the strokes;
  a further reading the senses are filed under follows the standard ones.
- hanzi-zdict: the senses, per reading, for 7,000 characters.
- hanzi-mapull: only its character list, for the characters the other two
  lack (header only), and as a hint at the written form of a radical (扌 or
  手) where Unihan gives just the radical's number.

An entry is a header line "~字 读音… X部 N画" and at most ten definition lines
"[读音] 释义"; a character with more senses continues in further entries of
ten lines with the same header, because the program announces ten lines of an
entry and goes on to the next header for the same character only after a full
ten.  Everything here uses the standard library and fixed orders only, so the
output is the same on every run.
"""

import json
import re
import unicodedata
from collections import OrderedDict

from phrase_clean import doubled_de, fix_common_typos

SOURCES = ("hanzi-zdict", "hanzi-unihan", "hanzi-mapull")
ENTRY_LINES = 10

# ---------------------------------------------------------------------------
# GBK


def gbk_ok(ch):
    if ch == "\u20ac" or "\ue000" <= ch <= "\uf8ff" or ord(ch) > 0xFFFF:
        return False
    try:
        ch.encode("gbk")
    except UnicodeEncodeError:
        return False
    return True


def gbk_text_ok(text):
    return all(gbk_ok(ch) for ch in text)


HAN_RE = "\u3400-\u9fff"


def is_han(ch):
    return "\u3400" <= ch <= "\u9fff"


# ---------------------------------------------------------------------------
# Readings


def syllables(value):
    """The readings of a kTGHZ2013 value ("212.080:le 223.010,223.020:liǎo"),
    repeats dropped, in the value's order."""
    out = []
    for item in value.split():
        reading = unicodedata.normalize("NFC", item.split(":", 1)[-1])
        if reading not in out:
            out.append(reading)
    return out


def pinlu_counts(value):
    """kHanyuPinlu "le(30101) liǎo(654)" -> {"le": 30101, "liǎo": 654}."""
    return {unicodedata.normalize("NFC", m.group(1)): int(m.group(2))
            for m in re.finditer(r"(\S+?)\((\d+)\)", value or "")}


MINOR_SENSE_RE = re.compile(r"^(姓。|古同“.”.*|古通“.”.*|〔[^〕]*〕(地名|姓|古地名).*)$")


def minor_readings_last(readings, senses, stats):
    """The corpus counts and kMandarin put first some readings whose every
    sense is a surname, a place name or an old variant (啜 chuài: 姓): such a
    reading goes after those with senses of their own, so the header and the
    senses start with the character's main use.  A bound form (坎坷 kě:
    〔坎坷〕见“坎”) is often the main use and stays."""
    def minor(r):
        texts = senses.get(r)
        return bool(texts) and all(MINOR_SENSE_RE.match(t.strip()) for t in texts)
    if len(readings) < 2 or not minor(readings[0]) or all(map(minor, readings)):
        return readings
    stats.add("header readings: a reading of surnames, places or old variants only put after the others")
    return [r for r in readings if not minor(r)] + [r for r in readings if minor(r)]


# Where the corpus counts and kMandarin both put a reading first that is not
# the one a dictionary is read by: 长 is "long" (cháng) before 校长 (zhǎng),
# 佛 is fó before 仿佛 (fú).
MAIN_READING = {"长": "cháng", "佛": "fó"}


def main_reading_first(readings, mandarin, pinlu):
    """The most frequent reading in the modern corpus first (kHanyuPinlu), then
    the customary reading (kMandarin), then the standard's own order."""
    def key(r):
        pos = readings.index(r)
        return (-pinlu.get(r, -1), mandarin.index(r) if r in mandarin else len(mandarin), pos)
    return sorted(readings, key=key)


TONE_NUMBERS = {"\u0304": "1", "\u0301": "2", "\u030c": "3", "\u0300": "4"}


def gbk_reading(reading):
    """GBK has no tone-marked ê, ḿ or ǹ: such a reading is written with a tone
    number instead ("ḿ" -> "m2", "ǹg" -> "ng4")."""
    if gbk_text_ok(reading):
        return reading
    base, tone = [], ""
    for ch in unicodedata.normalize("NFD", reading):
        if ch in TONE_NUMBERS:
            tone = TONE_NUMBERS[ch]
        else:
            base.append(ch)
    plain = unicodedata.normalize("NFC", "".join(base))
    return plain + tone if gbk_text_ok(plain) else None


def toneless(reading):
    return "".join(ch for ch in unicodedata.normalize("NFD", reading)
                   if not unicodedata.combining(ch)).replace("ü", "v")


# ---------------------------------------------------------------------------
# Radicals

# The Kangxi radical character of CJKRadicals.txt in the shape modern
# simplified print gives it.
MODERN_RADICAL = {"艸": "艹", "辵": "辶", "戶": "户", "靑": "青", "黃": "黄", "夊": "夂", "匸": "匚"}

# Written forms of a radical that depend on where it stands in the character
# (扌 on the left, 手 below): Unihan gives only the radical's number, the
# character list of hanzi-mapull the form.  A form is taken only when it
# belongs to the same radical number.
RADICAL_FORMS = {
    "9": "亻", "18": "刂", "23": "匚", "47": "川", "61": "忄", "64": "扌", "80": "母",
    "85": "氵", "86": "灬", "87": "爫", "93": "牜", "94": "犭", "96": "王", "113": "礻",
    "122": "罒", "125": "耂", "130": "月", "145": "衤", "146": "西", "163": "阝", "170": "阝",
}
# mapull writes the hand radical 扌 as the look-alike character 才.
HINT_FIXES = {"才": "扌"}


class Unihan:
    """The fields of the packed Unihan extract, by character."""

    def __init__(self, extract_text, radicals_text):
        self.fields = {}
        for line in extract_text.splitlines():
            if not line or line.startswith("#"):
                continue
            cp, field, value = line.split("\t", 2)
            self.fields.setdefault(chr(int(cp[2:], 16)), {})[field] = value
        self.radicals = {}
        for line in radicals_text.splitlines():
            line = line.split("#", 1)[0].strip()
            if line:
                number, _, unified = [f.strip() for f in line.split(";")]
                self.radicals[number] = chr(int(unified, 16))

    def get(self, char, field):
        return self.fields.get(char, {}).get(field)

    def standard(self):
        """(character, level) of the 通用规范汉字表 in its own order."""
        rows = []
        for char, f in self.fields.items():
            if "kTGH" in f:
                pos = int(f["kTGH"].split(":")[1])
                rows.append((pos, char))
        rows.sort()
        return [(char, 1 if pos <= 3500 else 2 if pos <= 6500 else 3) for pos, char in rows]

    def readings(self, char):
        """The standard modern readings, main reading first; [] when the
        character has none (it is not in the standard list)."""
        value = self.get(char, "kTGHZ2013")
        if not value:
            return []
        found = main_reading_first(syllables(value), self.mandarin(char),
                                   pinlu_counts(self.get(char, "kHanyuPinlu")))
        main = MAIN_READING.get(char)
        if main in found:
            found = [main] + [r for r in found if r != main]
        return found

    def mandarin(self, char):
        return [unicodedata.normalize("NFC", r) for r in (self.get(char, "kMandarin") or "").split()]

    def pinlu(self, char):
        return pinlu_counts(self.get(char, "kHanyuPinlu"))

    def simplified_forms(self, standard):
        """Traditional character -> its simplified form, for characters outside
        the standard list whose simplified form is in it (終 -> 终)."""
        out = {}
        for char, f in self.fields.items():
            if char in standard or "kSimplifiedVariant" not in f:
                continue
            forms = [chr(int(v[2:], 16)) for v in f["kSimplifiedVariant"].split()]
            form = next((v for v in forms if v in standard), None)
            if form:
                out[char] = form
        return out

    def strokes(self, char):
        value = self.get(char, "kTotalStrokes")
        return int(value.split()[0]) if value else None

    def radical(self, char, hint=None):
        """The radical of kRSUnicode (first value) as it is written in this
        character: the simplified form where Unihan marks one (187' -> 马), the
        positional form (扌 氵 亻 …) where the hint names the same radical."""
        value = self.get(char, "kRSUnicode")
        if not value:
            return None
        number = value.split()[0].split(".")[0]
        hint = HINT_FIXES.get(hint, hint)
        if hint and RADICAL_FORMS.get(number) == hint:
            return hint
        form = self.radicals.get(number)
        return MODERN_RADICAL.get(form, form)


# ---------------------------------------------------------------------------
# Senses

# Repairs of single source texts, (character, wrong text) -> right text.
SENSE_FIXES = {
    ("什", "（“assorted么”均读轻声）"): "（“么”读轻声）",
    ("啉", "饮酒―巡"): "饮酒一巡",
    ("腌", "[腌臜]（—zā）"): "[腌臜]（āzā）",
    ("蘼", "芎䓖"): "川芎",  # the same plant under its modern name, in GBK
    # quotation marks lost or doubled by the scrape
    ("于", "属～未来）"): "属～未来”）",
    ("奕", "““"): "“",
    ("尸", "～～素餐，“"): "～～素餐”，“",
    ("柚", "称“柚子，"): "称“柚子”，",
    ("肭", "“腽'"): "“腽”",
    ("肭", "“朒'"): "“朒”",
    ("阀", "亦作“伐阅”。"): "亦作“伐阅”）。",
    ("铜", "ch恥"): "chòu",  # a lost tone letter
    ("趿", "（拉”读轻声）"): "（“拉”读轻声）",
    ("跬", "为“步””"): "为“步”",
    ("袼", "读轻声）〕"): "读轻声）",
    # a traditional form in place of the other character's pinyin
    ("偻", "〔佝（僂）gōu）～〕"): "〔佝（gōu）～〕",
    ("岖", "〔崎（嶇）qū）～〕"): "〔崎（qí）～〕",
}

STAND_INS = {"\u2022": "\u00b7", "\u014f": "\u01d2", "\u2015": "\u2014"}  # • ŏ ―
for i in range(10):
    STAND_INS[chr(0x2776 + i)] = chr(0x2460 + i)  # ❶ -> ①
    STAND_INS[chr(0x278A + i)] = chr(0x2460 + i)  # ➊ -> ①

BOPOMOFO_RE = re.compile(r"\s*[\u3105-\u3129\u02c7\u02c9\u02ca\u02cb\u02d9]+")
BLANKS_RE = re.compile(r"[ \u3000\u00a0\t]+")
HOMOGRAPH_RE = re.compile(r"“([%s]+)[0-9]”|(见“[%s]+”)[0-9]" % (HAN_RE, HAN_RE))
LABEL_DOT_RE = re.compile(r"(?<![A-Za-z])([a-hA-H])[.．](?=\S)")
ASCII_PUNCT = {",": "，", ":": "：", ";": "；", "?": "？", "!": "！"}
POS_MARKERS = {"介": "介词", "量": "量词", "连": "连词", "連": "连词", "副": "副词", "助": "助词"}
REGISTER_MARKERS = {"书": "书面语", "方": "方言", "方言": "方言", "古": "古语"}
MARKER_RE = re.compile(r"〈([^〈〉]{1,2})〉")
# A quoted citation: a book title, maybe a chapter, then the quote
# (《説文•人部》：“价，善也。”), or a 反切 reading note (《廣韻》魯回切).
CITATION_RE = re.compile(r"《[^《》]*》(?:卷[〇零一二三四五六七八九十百]+)?[：:]?[“\"]|《[^《》]*》[^，。“”《》]{1,4}切")
SOURCE_NOTE_RE = re.compile(r"[见見][^。]*《[^》]*》。?$")


def blank_ok(left, right):
    """A blank stays only between two ASCII words ("C Programming")."""
    return left.isascii() and right.isascii() and left.isalnum() and right.isalnum()


def tidy_blanks(text):
    out = []
    for i, part in enumerate(BLANKS_RE.split(text)):
        if i and out and part and blank_ok(out[-1][-1], part[0]):
            out.append(" ")
        out.append(part)
    return "".join(out).strip()


def top_level_positions(text):
    """Positions of characters outside brackets and quotes."""
    depth = 0
    for i, ch in enumerate(text):
        if ch in "（(〔[“":
            depth += 1
        elif ch in "）)〕]”" and depth:
            depth -= 1
        elif depth == 0:
            yield i


def cut_citations(text, stats):
    """Drop quoted classical citations and the source notes after a sense:
    "善。《説文•人部》：“价，善也。”" -> "善。"; "柔软。晋夏侯湛《玄鳥賦》：“…”" ->
    "柔软。"; "姓。晋代有佟寿。见《晋书…》。" -> "姓。晋代有佟寿。".  A title inside
    brackets (源于杜甫《曲江》“…”) belongs to an example and stays."""
    top = set(top_level_positions(text))
    for m in CITATION_RE.finditer(text):
        if m.start() in top:
            # Back to where the citing sentence begins (a dynasty and author
            # may stand before the title).
            start = m.start()
            while start > 0 and text[start - 1] not in "。”！？":
                start -= 1
            stats.add("classical citation cut from a sense")
            text = text[:start].rstrip()
            if text and text[-1] not in "。！？":
                text += "。"
            break
    m = SOURCE_NOTE_RE.search(text)
    if m and m.start() in top:
        stats.add("source note (见《…》) cut from a sense")
        text = text[:m.start()]
    return text


def simplify_leaks(text, char, simplified, stats):
    """Traditional characters that leaked into a simplified sense (大楼終于建成,
    搖動) become simplified; quoted words stay as they are, since they often
    name the traditional form on purpose (亦作“靦覥”)."""
    out = []
    depth = 0
    for ch in text:
        if ch == "“":
            depth += 1
        elif ch == "”" and depth:
            depth -= 1
        elif depth == 0 and ch != char and ch in simplified:
            out.append(simplified[ch])
            stats.add("traditional character in a sense simplified")
            continue
        out.append(ch)
    return "".join(out)


TRADITIONAL_ONLY_RE = re.compile(r"（[%s、]+）。?" % HAN_RE)


def expand_markers(text, stats):
    """〈量〉用于人群 -> 量词，用于人群; 〈书〉等待：… -> 等待（书面语）：…"""
    while True:
        m = MARKER_RE.search(text)
        if not m:
            return text
        mark = m.group(1)
        rest = text[:m.start()] + text[m.end():]
        if mark in POS_MARKERS:
            text = rest[:m.start()] + POS_MARKERS[mark] + "，" + rest[m.start():]
            stats.add("part-of-speech marker written out (〈量〉 -> 量词，)")
        elif mark in REGISTER_MARKERS:
            at = len(rest)
            for stop in "：。":
                p = rest.find(stop, m.start())
                if p >= 0:
                    at = min(at, p)
            text = rest[:at] + "（" + REGISTER_MARKERS[mark] + "）" + rest[at:]
            stats.add("register marker written out (〈书〉 -> （书面语）)")
        else:
            return None  # 〈韩〉: a Korean use, not a Chinese sense


# A pinyin note after a word: （jué）, （zhāor ）.
PINYIN_NOTE = r"（[a-zA-Zü\u00e0-\u01dc\u0101-\u01ce ]+）"
COMPOUND_HEAD_RE = re.compile(r"^〔([^〔〕]*)〕")
# A two-character word with one "～", directly followed (after an optional
# pinyin note) by a bracketed gloss: ～定（…）, 雕～（…）.
GLOSSED_WORD_RE = re.compile(r"(?:^|(?<=[。：；，、（〕“？！]))(～[%s]|[%s]～)(?:%s)?（" % (HAN_RE, HAN_RE, PINYIN_NOTE))


def matching_close(text, open_pos):
    depth = 0
    for i in range(open_pos, len(text)):
        if text[i] == "（":
            depth += 1
        elif text[i] == "）":
            depth -= 1
            if depth == 0:
                return i
    return len(text)


def strip_pinyin_notes(word):
    return re.sub(PINYIN_NOTE, "", word)


def replace_tildes(text, char, stats):
    """"～" stands for the head character; but where a sense explains a
    two-character word, "～～" in its examples stands for that word:
    〔～螂〕…如“～～捕蝉” -> 螳螂捕蝉, ～定（…如“～～基础”） -> 奠定基础.  A "～"
    between numbers is a range: 0.15～1.7％ -> 0.15至1.7％."""
    if "～" not in text:
        return text
    text = re.sub(r"(?<=[0-9])～(?=[0-9])", "至", text)
    zones = []  # (start, end, word)
    m = COMPOUND_HEAD_RE.match(text)
    if m:
        word = strip_pinyin_notes(m.group(1))
        if len(word) == 2 and word.count("～") == 1:
            zones.append((m.end(), len(text), word))
    for m in GLOSSED_WORD_RE.finditer(text):
        open_pos = m.end() - 1
        zones.append((open_pos, matching_close(text, open_pos), m.group(1)))
    out = []
    i = 0
    while i < len(text):
        if text.startswith("～～", i):
            word = next((w for s, e, w in zones if s <= i < e), None)
            if word:
                out.append(word.replace("～", char))
                stats.add("'～～' in an example replaced by the explained word")
                i += 2
                continue
        out.append(char if text[i] == "～" else text[i])
        i += 1
    stats.add("'～' replaced by the character (senses)")
    return "".join(out)


UNIT_STOPS = "，；。"


def drop_outside_gbk(text, stats):
    """Remove what GBK cannot show where the sense still reads well without it:
    a lone item of a list (亅、乛、<?>、乙), else the clause (卦形为䷪，), else the
    sentence (同“㹱”。).  None when nothing would be left or the character is
    part of the word the sense explains (〔㤉～〕)."""
    while True:
        bad = next((i for i, ch in enumerate(text) if not gbk_ok(ch)), None)
        if bad is None:
            return text
        head = COMPOUND_HEAD_RE.match(text)
        if head and bad < head.end():
            return None
        # A lone list item between two 、 (or a bracket and a 、).
        if bad + 1 < len(text) and text[bad + 1] == "、" and bad > 0 and text[bad - 1] in "、（":
            text = text[:bad] + text[bad + 2:]
            stats.add("non-GBK list item dropped from a sense")
            continue
        start = bad
        while start > 0 and text[start - 1] not in UNIT_STOPS:
            start -= 1
        end = bad
        while end < len(text) and text[end] not in UNIT_STOPS:
            end += 1
        sentence_start = start
        while sentence_start > 0 and text[sentence_start - 1] != "。":
            sentence_start -= 1
        sentence_end = end
        while sentence_end < len(text) and text[sentence_end] != "。":
            sentence_end += 1
        if end < len(text) and text[end] == "，" or (start > sentence_start and text[start - 1] == "，"):
            # one clause of several: drop it with one comma
            if end < len(text) and text[end] == "，":
                text = text[:start] + text[end + 1:]
            else:
                text = text[:start - 1] + text[end:]
            stats.add("non-GBK clause dropped from a sense")
        else:
            text = text[:sentence_start] + text[sentence_end + 1:]
            stats.add("non-GBK sentence dropped from a sense")
        if not text.strip("。，；"):
            return None


def squeeze_marks(text, stats):
    """One mark where the source doubled it ("深浅。。水深", "化干戈为玉帛。。"); a
    colon wins ("（汞除外）。：金属"), else the first."""
    def one(m):
        return "：" if "：" in m.group() else m.group()[0]
    new = re.sub("[。，；：、]{2,}", one, text)
    if new != text:
        stats.add("doubled punctuation made one mark")
    return new


def finish(text, stats):
    """Close what a cut left open: a missing closing quote or bracket, a
    trailing comma, a missing full stop."""
    text = text.rstrip("，、；： ")
    if not text:
        return text
    if text.count("“") > text.count("”"):
        text += "”。" if text[-1] not in "。！？" else "”"
        stats.add("closing quote added")
    if text.count("（") > text.count("）"):
        text += "）"
        stats.add("closing bracket added")
    if text[-1] not in "。！？”）〕":
        text += "。"
        stats.add("full stop added at the end of a sense")
    return text


CN_INDEX = "一二三四五六"


def resolve_reading_refs(text, char, source_readings, stats):
    """"义同（一）" points at the source's first reading of the character; the
    numbering is not shown, so name the reading: 义同“塞”（sāi）."""
    def name(m):
        i = CN_INDEX.index(m.group(1))
        if i >= len(source_readings):
            return m.group(0)
        stats.add("reading number resolved (义同（一） -> 义同“塞”（sāi）)")
        return "义同“%s”（%s）" % (char, source_readings[i])
    return re.sub("义同（([%s])）" % CN_INDEX, name, text)


def clean_sense(text, char, stats, simplified=None):
    """One source sense as a definition line's text, or None to drop it.
    simplified: traditional -> simplified character (Unihan.simplified_forms)."""
    if TRADITIONAL_ONLY_RE.fullmatch(text):
        # "（嗎）": the scrape kept the traditional form where a sense should be.
        stats.add("sense dropped: only a bracketed character form （嗎）")
        return None
    for (c, wrong), right in SENSE_FIXES.items():
        if c == char and wrong in text:
            text = text.replace(wrong, right)
            stats.add("sense repaired from a fixed list")
    new = "".join(STAND_INS.get(ch, ch) for ch in text)
    if new != text:
        stats.add("symbol outside GBK replaced by a GBK stand-in (❶ -> ①, • -> ·)")
    text = unicodedata.normalize("NFC", new)
    # Full-width Latin letters and digits read the same in ASCII (Ｘ射线, ａ．).
    text = "".join(chr(ord(ch) - 0xFEE0) if "\uff10" <= ch <= "\uff5a" and ch.isalnum() else ch
                   for ch in text)
    text = LABEL_DOT_RE.sub(r"\1.", text)
    new = BOPOMOFO_RE.sub("", text)
    if new != text:
        stats.add("bopomofo after pinyin removed")
    text = tidy_blanks(new)
    text = text.replace("(", "（").replace(")", "）")
    text = re.sub(r"[\[［]([^\[\]［］]+)[\]］]", r"〔\1〕", text)
    # ASCII punctuation after a Chinese character: 卖:余勇可贾 -> 卖：余勇可贾
    text = re.sub(r"(?<=[%s])[,:;?!]" % HAN_RE, lambda m: ASCII_PUNCT[m.group()], text)
    text = text.lstrip("．.，。、；：")
    text = re.sub(r"(?<=[%s])．(?=[%s])" % (HAN_RE, HAN_RE), "。", text)
    new = HOMOGRAPH_RE.sub(lambda m: "“%s”" % m.group(1) if m.group(1) else m.group(2), text)
    if new != text:
        stats.add("homograph number after a cross-reference removed (见“倥2” -> 见“倥”)")
    text = cut_citations(new, stats)
    text = simplify_leaks(text, char, simplified or {}, stats)
    text = expand_markers(text, stats)
    if text is None:
        stats.add("sense dropped: Korean use (〈韩〉)")
        return None
    text = replace_tildes(text, char, stats)
    text = drop_outside_gbk(text, stats)
    if text is None:
        stats.add("sense dropped: its word is outside GBK")
        return None
    text = doubled_de(fix_common_typos(text, stats, "senses"), stats, "senses")
    text = squeeze_marks(text, stats)
    text = finish(text, stats)
    return text or None


# ---------------------------------------------------------------------------
# Building the file


def load_zdict(text):
    body = text[text.index("{"):text.rindex("}") + 1]
    return json.loads(body, object_pairs_hook=OrderedDict)


def header_line(char, readings, radical, strokes):
    parts = [char] + readings
    if radical:
        parts.append(radical + "部")
    if strokes:
        parts.append("%d画" % strokes)
    return "~" + " ".join(parts)


# Readings of the source spelled as older dictionaries spell them.
READING_ALIASES = {("欸", "ēi"): "ê̄", ("欸", "éi"): "ế", ("欸", "ěi"): "ê̌", ("欸", "èi"): "ề"}


def sense_groups(char, senses_by_reading, header_readings, stats):
    """[(label, [sense, …])] in header order, then the source's further
    readings (classical ones such as 乘 shèng) in its order."""
    groups = OrderedDict((r, []) for r in header_readings)
    missing = [r for r in header_readings if r not in senses_by_reading]
    for reading, senses in senses_by_reading.items():
        reading = unicodedata.normalize("NFC", READING_ALIASES.get((char, reading), reading))
        label = reading
        if reading not in groups:
            # The standard spells the same syllable with another tone
            # (呤 líng -> lìng): its senses go under the standard reading.
            same = [r for r in missing if toneless(r) == toneless(reading)]
            if len(same) == 1:
                label = same[0]
                missing.remove(label)
                stats.add("source reading relabelled as the standard one (readings)")
        groups.setdefault(label, []).extend(senses)
    return [(label, senses) for label, senses in groups.items() if senses]


def build_zd(open_archive, stats):
    """Returns (lines, number of characters)."""
    zdict_arc = open_archive("hanzi-zdict")
    unihan_arc = open_archive("hanzi-unihan")
    mapull_arc = open_archive("hanzi-mapull")
    zdict = load_zdict(zdict_arc.text("hanzi-zdict/data-chars.js"))
    unihan = Unihan(unihan_arc.text("hanzi-unihan/Unihan_extract.txt"),
                    unihan_arc.text("hanzi-unihan/CJKRadicals.txt"))
    mapull = OrderedDict()
    for item in json.loads(mapull_arc.text("hanzi-mapull/char_base.json")):
        mapull.setdefault(item["char"], item)
    standard = {c for c, _ in unihan.standard()}
    simplified = unihan.simplified_forms(standard)
    syllable_set = {toneless(r) for f in unihan.fields.values()
                    for r in syllables(f.get("kTGHZ2013", "")) + (f.get("kMandarin") or "").split()}

    # The standard characters GBK can show, in the table's order; then the
    # further characters of the sense source; then those only the old
    # character list has.
    order = [c for c, _ in unihan.standard() if len(c) == 1 and gbk_ok(c)]
    known = set(order)
    for c in zdict:
        if c not in known and gbk_ok(c):
            order.append(c)
            known.add(c)
    rest = sorted((item.get("index", 0), c) for c, item in mapull.items()
                  if c not in known and len(c) == 1 and gbk_ok(c))
    for _, c in rest:
        if unihan.get(c, "kRSUnicode"):
            order.append(c)
            stats.add("character only in the old character list (header only)")
        else:
            stats.add("character of the old list dropped: not an ideograph in Unihan")

    lines = []
    for char in order:
        hint = (mapull.get(char) or {}).get("radicals")
        readings = unihan.readings(char)
        if readings:
            stats.add("header readings: standard (kTGHZ2013)")
        elif char in zdict:
            readings = main_reading_first(list(zdict[char]), unihan.mandarin(char), unihan.pinlu(char))
            stats.add("header readings: sense source (character not in the standard list)")
        elif unihan.mandarin(char):
            readings = unihan.mandarin(char)
            stats.add("header readings: customary reading (kMandarin)")
        else:
            old = [r.replace("\u0261", "g") for r in (mapull.get(char) or {}).get("pinyin") or []]
            readings = [r for r in old if toneless(r) in syllable_set]
            if len(readings) < len(old):
                stats.add("reading of the old list dropped: not a pinyin syllable", len(old) - len(readings))
            stats.add("header readings: old character list")
        readings = minor_readings_last(readings, zdict.get(char, {}), stats)
        shown = []
        for r in readings:
            g = gbk_reading(r)
            if g and g not in shown:
                shown.append(g)
            if g != r:
                stats.add("reading written with a tone number (GBK has no ḿ ǹ ê̄)")
        radical = unihan.radical(char, hint)
        if radical and radical != unihan.radical(char):
            stats.add("radical in its positional form from the old list (扌 氵 亻 …)")

        senses = []
        for label, texts in sense_groups(char, zdict.get(char, {}), readings, stats):
            shown_label = gbk_reading(label) or label
            for raw in texts:
                raw = resolve_reading_refs(raw, char, list(zdict.get(char, {})), stats)
                s = clean_sense(raw, char, stats, simplified)
                if s is None:
                    continue
                line = "[%s] %s" % (shown_label, s)
                if line in senses:
                    stats.add("repeated definition line dropped")
                    continue
                senses.append(line)
                if shown_label not in shown:
                    # A learner reading "[shèng] …" looks for shèng in the header.
                    shown.append(shown_label)
                    stats.add("header readings: a further reading with senses added after the others")
        header = header_line(char, shown, radical, unihan.strokes(char))
        if not senses:
            lines.append(header)
            stats.add("character with header only (no senses)")
            continue
        if len(senses) > ENTRY_LINES:
            stats.add("character split into entries of %d lines" % ENTRY_LINES)
        for i in range(0, len(senses), ENTRY_LINES):
            lines.append(header)
            lines.extend(senses[i:i + ENTRY_LINES])
    return lines, len(order)
