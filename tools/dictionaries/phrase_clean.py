"""Text cleaning of the phrase files: what would be read out as noise.

Every rule counts what it changed in the file's Stats, for --report.
"""

import re
import shutil
import subprocess
import sys
import unicodedata

CJK = "\u3400-\u4dbf\u4e00-\u9fff"

# Half-width punctuation in Chinese text, and odd colons, as the full-width
# marks a Chinese text uses.
FULLWIDTH = {",": "，", ";": "；", ":": "：", "?": "？", "!": "！", "(": "（", ")": "）",
             "∶": "：", "﹕": "：", "．": "。", "〈": "《", "〉": "》"}
HALF_PUNCT_RE = re.compile(r"\s*([,;:?!()∶﹕．〈〉])\s*")


def fullwidth_punctuation(text, stats, what):
    def swap(m):
        return FULLWIDTH[m.group(1)]
    new = HALF_PUNCT_RE.sub(swap, text)
    if new != text:
        stats.add("half-width punctuation made full-width (%s)" % what)
    return new


def squeeze_stops(text):
    """"。。" or "。，" left behind by a removed symbol: keep the first mark."""
    return re.sub(r"([，。；：、！？])[，。；：、！？]+", r"\1", text)


# ---------------------------------------------------------------------------
# Misspellings a teacher corrects on sight

# Each wrong form is never a word or a variant in its own right, so the right
# one is certain wherever it occurs (the sources also have the right forms,
# far more often).  Forms that are accepted variants (安祥, 凑和, 好象) or
# that can be right in context (既使: 既使人民劳苦) are not listed.
COMMON_TYPOS = {
    "螺狮": "螺蛳", "黄莲": "黄连", "麟片": "鳞片", "眼框": "眼眶", "做弊": "作弊",
    "天气转睛": "天气转晴", "寒喧": "寒暄", "走头无路": "走投无路", "按步就班": "按部就班",
    "悬梁刺骨": "悬梁刺股", "明火执杖": "明火执仗", "气慨": "气概", "烦燥": "烦躁",
    "急燥": "急躁", "趋之若骛": "趋之若鹜", "惹事生非": "惹是生非", "纷至踏来": "纷至沓来",
    "甘败下风": "甘拜下风", "披星带月": "披星戴月", "沉缅": "沉湎", "和霭": "和蔼",
    "黄梁": "黄粱", "膏梁": "膏粱", "坐阵": "坐镇", "缈小": "渺小", "恢谐": "诙谐",
    "甘庶": "甘蔗", "干弋": "干戈", "比匕喻": "比喻", "喽哕": "喽啰", "堵八戒": "猪八戒",
    "斗欧": "斗殴", "谑杀": "虐杀", "歉让": "谦让", "馄钝": "馄饨", "焦燥": "焦躁", "蹦鞑": "蹦跶", "闲遐": "闲暇", "根椐": "根据",
}
TYPO_RE = re.compile("|".join(sorted(COMMON_TYPOS, key=len, reverse=True)))


# "的" that is part of a word before the particle: 目的的要求 is right.
DE_WORDS = set("目有端标之无")


def doubled_de(text, stats, what):
    """"斗争的的发展": the particle written twice; not 的的确确 or 目的的."""
    new = re.sub(r"(?<=(.))的的(?!确)", lambda m: "的的" if m.group(1) in DE_WORDS else "的", text)
    if new != text:
        stats.add("doubled 的 made one (%s)" % what)
    return new


def fix_common_typos(text, stats, what, keep=""):
    """text with the listed misspellings corrected; a wrong form that keep
    contains stays (an idiom's own head spells it so: its explanation quotes it)."""
    def fix(m):
        if m.group() in keep:
            return m.group()
        stats.add("common misspelling corrected (%s)" % what)
        return COMMON_TYPOS[m.group()]
    return TYPO_RE.sub(fix, text)


# Characters a scan misreads for each other (人/入, 己/已, 千/干).
LOOKALIKES = ("人入", "己已巳", "干于千", "未末", "土士", "曰日", "戊戌戍", "天夭", "亡上")
LOOKALIKE = {}
for group in LOOKALIKES:
    for ch in group:
        LOOKALIKE.setdefault(ch, []).extend(c for c in group if c != ch)


def misread_idioms(text, idioms, stats, what):
    """An idiom of four characters with one character misread for its
    look-alike ("人木三分", "身不由已", "干头万绪") written as the idiom; a run
    that is an idiom itself stays."""
    chars = list(text)
    for i in range(len(chars) - 3):
        word = "".join(chars[i:i + 4])
        if word in idioms:
            continue
        for j, ch in enumerate(word):
            fixes = [word[:j] + c + word[j + 1:] for c in LOOKALIKE.get(ch, ())]
            fixes = [f for f in fixes if f in idioms]
            if len(fixes) == 1:
                chars[i:i + 4] = fixes[0]
                stats.add("idiom with a misread look-alike character mended (%s)" % what)
                break
    return "".join(chars)


# ---------------------------------------------------------------------------
# 成语 explanations

# The scrape turned "。后" into "◇" ("原意是…胜利◇指…"); other symbols stand
# for "。" and a lost character ("刚直正大的精神∑然之气").  Only the stop can
# be put back.
CY_LOST_STOP = "≤‖×⊥『」§→♂↑◆ˇ∪♀∮∝∑≮★∠∞↓∽￠¤￡☆±∧≌№≈～"


def clean_cy_explanation(text, stats):
    if "◇" in text:
        text = text.replace("◇", "。后")
        stats.add("'◇' written out as '。后' (explanations)")
    new = "".join("。" if ch in CY_LOST_STOP else ch for ch in text)
    if new != text:
        stats.add("stray symbol for a lost stop and character replaced by '。' (explanations)")
    new = new.replace("ɡ", "g")
    new = fullwidth_punctuation(re.sub(r"(?<=[%s])\.(?=。|$)" % CJK, "。", new), stats, "explanations")
    return squeeze_stops(new)


def clean_cy_pinyin(text, stats):
    new = re.sub("[\u3000@?]", " ", text).replace("ɡ", "g")
    new = re.sub(r"\s*,\s*", "，", new)
    new = re.sub(r" {2,}", " ", new).strip()
    if new != text:
        stats.add("pinyin spacing, 'ɡ' and commas normalised")
    return new


def cy_garbled(explanation):
    """An explanation the scrape garbled beyond repair: it holds "?" for lost
    characters ("?阂陨嗵蛭铩７地以舌舔天")."""
    return "?" in explanation or "？" in explanation[:3]


# ---------------------------------------------------------------------------
# 歇后语

XH_DROP = "¨／-"
XH_NOTE_RE = re.compile(r"（([^（）]*)）")


def xh_note(m, stats):
    """A bracketed note without the toneless pinyin the scrape left in it
    ("（注：6 tou钵）"); a note with nothing else left goes."""
    note = re.sub(r"[A-Za-z0-9 ]+", "", m.group(1))
    if note != m.group(1):
        stats.add("toneless pinyin removed from a note (歇后语)")
    if not cjk_only(re.sub(r"^注：", "", note)):
        stats.add("note without text removed (歇后语)")
        return ""
    return "（" + note.strip() + "）"


def xh_colons(text, stats, answer):
    """The scrape's "：" outside a note is a misread mark: between two answers
    of two characters or more it is their "；" ("突如其来：措手不及"), anywhere
    else it goes ("鼻梁上：套绳索")."""
    def swap(m):
        stats.add("stray colon made '；' or removed (歇后语)")
        before, after = cjk_only(m.group(1)), cjk_only(m.group(2))
        return m.group(1) + ("；" if answer and len(before) >= 2 and len(after) >= 2 else "") + m.group(2)
    outside = re.split(r"(（[^（）]*）)", text)
    for i in range(0, len(outside), 2):
        while True:
            new = re.sub(r"([^；：]*)：([^；：]*)", swap, outside[i], count=1)
            if new == outside[i]:
                break
            outside[i] = new
    return "".join(outside)


def clean_xh(text, stats, answer=False):
    new = XH_NOTE_RE.sub(lambda m: xh_note(m, stats), text).replace("．", "。")
    # A Latin letter left over from a cut pinyin note ("冰凌挂胸n").
    t = re.sub(r"(?<=[%s])[A-Za-z]+(?=$|[%s])" % (CJK, CJK), "", new)
    if t != new:
        stats.add("stray Latin letter removed (歇后语)")
    new = t
    new = fullwidth_punctuation(new, stats, "歇后语")
    dropped = "".join(ch for ch in new if ch not in XH_DROP)
    if dropped != new:
        stats.add("stray symbol removed (歇后语)")
    text = xh_colons(fix_common_typos(squeeze_stops(dropped), stats, "歇后语"), stats, answer)
    # "白费功夫：", "满肚子泥；": a mark with nothing after it ends no answer.
    new = re.sub("[，、：；]+(?=；|$)", "", text)
    if new != text:
        stats.add("dangling mark at the end of an answer removed (歇后语)")
    return new


# ---------------------------------------------------------------------------
# 古文

PLACEHOLDERS = "■□○"
NOTE_NUMBERS_RE = re.compile("[\u2460-\u249b]")  # ① ⑴ ⒈ …: footnote numbers
# Pinyin glosses the web editions put after rare characters ("伋í",
# "陈筮ｓｈì"): Latin letters, with tone marks or full-width.
PINYIN_NOTE_RE = re.compile("[A-Za-z\u00c0-\u024f\uff21-\uff3a\uff41-\uff5a]+")
DASH_RE = re.compile("[─－―]+")
GW_STRAY = "＃Яβ|=＋◎△"


def gw_has_placeholder(text):
    return any(ch in PLACEHOLDERS for ch in text)


GW_STEPS = [
    ("compatibility ideograph normalised", lambda t: unicodedata.normalize("NFC", t)),
    ("pinyin gloss after a character removed", lambda t: PINYIN_NOTE_RE.sub("", t)),
    ("footnote number removed", lambda t: NOTE_NUMBERS_RE.sub("", t)),
    ("'々' written out as the repeated character", lambda t: re.sub("(.)々", r"\1\1", t)),
    ("odd dash made '——'", lambda t: DASH_RE.sub("——", t)),
    ("half-width punctuation made full-width", lambda t: HALF_PUNCT_RE.sub(lambda m: FULLWIDTH[m.group(1)], t)),
    ("stray symbol removed", lambda t: "".join(ch for ch in t if ch not in GW_STRAY)),
]


def clean_gw(text, stats, side):
    """side: "classical" or "modern", for the counts."""
    for rule, step in GW_STEPS:
        new = step(text)
        if new != text:
            stats.add("%s (%s)" % (rule, side))
        text = new
    return squeeze_stops(text.strip())


def cjk_only(text):
    return re.sub("[^%s]" % CJK, "", text)


def gw_echo(head, tail):
    """An entry whose translation only repeats the classical text, or part of
    it: section titles ("△经一~经一", "周书·泰誓上~泰誓上") and untranslated
    sentences."""
    h, t = cjk_only(head), cjk_only(tail)
    return not t or t in h


# ---------------------------------------------------------------------------
# Traditional to simplified (OpenCC's t2s, Debian package opencc)


def t2s_lines(lines):
    """t2s of every line, one run of the opencc command for all of them."""
    if not shutil.which("opencc"):
        sys.exit("missing the opencc command: install the Debian package opencc "
                 "(tools/setup.sh does)")
    data = "".join(line.replace("\n", " ") + "\n" for line in lines).encode("utf-8")
    out = subprocess.run(["opencc", "-c", "t2s.json"], input=data, stdout=subprocess.PIPE,
                         check=True).stdout.decode("utf-8")
    result = out.split("\n")
    if result and result[-1] == "":
        result.pop()
    if len(result) != len(lines):
        sys.exit("opencc returned %d lines for %d" % (len(result), len(lines)))
    return result


def keep_gbk(original, converted, gbk_ok):
    """The simplified text, except where t2s gives a character outside GBK
    (鮀 -> 𬶍, 軏 -> 𫐄): the file is GBK, so the traditional one stays."""
    if all(map(gbk_ok, converted)):
        return converted
    if len(original) != len(converted):
        return converted if all(gbk_ok(ch) for ch in converted) else original
    return "".join(c if gbk_ok(c) else o for o, c in zip(original, converted))


# ---------------------------------------------------------------------------
# Traditional forms in the simplified phrase files

# OpenCC turns these standard characters into others: 蒜薹 is not 蒜苔, 哪吒
# keeps 吒.
T2S_KEEP = set("薹吒")
# 乾 is 干 (dry) except as the trigram (乾坤, 乾卦, 朝乾夕惕, 乾乾); 徵 is 征 except
# as the note of 宫商角徵羽 (徵声); 麽 is 么 except in 幺麽 (mó, tiny).  Near
# these, the traditional character stays, and so does 乾 in a line that names 坤
# or the trigrams (乾道成男，坤道成女; 始于乾卦…乾为天).
# OpenCC also writes 复盖 for 覆盖, the standard form again since 1986.
T2S_CONTEXT = {"乾": set("乾坤惕卦"), "徵": set("宫商角羽声"), "麽": set("幺"), "覆": set("盖育灭没辙宗")}
T2S_LINE_CONTEXT = {"乾": ("坤", "卦")}


# Words that only ever take 著 (zhù), found written with 着 (zhe): 臭名昭着, 以诗着称.
ZHU_WORDS = {"昭着": "昭著", "卓着": "卓著", "显着": "显著", "巨着": "巨著", "着称": "著称"}
ZHU_RE = re.compile("|".join(ZHU_WORDS))


def mend_zhu(line):
    return ZHU_RE.sub(lambda m: ZHU_WORDS[m.group(0)], line)


def kept_traditional(line, i):
    """Whether the traditional character line[i] is meant and stays."""
    ch = line[i]
    if ch in T2S_KEEP:
        return True
    near = T2S_CONTEXT.get(ch)
    if near is None:
        return False
    # The run of characters it stands in: "枯乾~乾燥" are two words; a list
    # (宫、商、角、徵、羽) is one run.
    start, end = i, i + 1
    while start > 0 and ("\u4e00" <= line[start - 1] <= "\u9fff" or line[start - 1] == "、"):
        start -= 1
    while end < len(line) and ("\u4e00" <= line[end] <= "\u9fff" or line[end] == "、"):
        end += 1
    window = line[max(start, i - 3):i] + line[i + 1:min(end, i + 4)]
    # A word that is the character alone ("乾~坤", "男性 乾 阳") is the trigram.
    return (end - start == 1 or any(c in near for c in window)
            or any(word in line for word in T2S_LINE_CONTEXT.get(ch, ())))


def simplify_line(line, converted, gbk_ok):
    """converted is t2s of line; the simplified line, character by character,
    keeping what must stay traditional."""
    if len(converted) != len(line):
        return line
    return "".join(o if o == c or not gbk_ok(c) or kept_traditional(line, i) else c
                   for i, (o, c) in enumerate(zip(line, converted)))
