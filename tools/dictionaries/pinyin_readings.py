"""Checking and repairing the pinyin of an idiom against its characters' readings.

The readings come from the Unihan database (Debian package unicode-data):
kTGHZ2013 (通用规范汉字字典), kXHC1983 (现代汉语词典), kMandarin and
kHanyuPinlu are the modern readings; kHanyuPinyin (汉语大字典) adds the
classical ones, which count as valid but are never chosen for a repair.
"""

import bz2
import re
import sys
import unicodedata

UNIHAN_READINGS = "/usr/share/unicode/Unihan_Readings.txt.bz2"
MODERN_FIELDS = ("kTGHZ2013", "kXHC1983", "kMandarin", "kHanyuPinlu")
ALL_FIELDS = MODERN_FIELDS + ("kHanyuPinyin",)
SYLLABLE_RE = re.compile(r"[a-zü\u0300-\u036f]+")
# Characters that are read in the neutral tone in some words.
NEUTRAL_TONE = set("的了着过地得么们吗呢吧啊呀子头儿个里上下来去巴气家么乎哉兮矣焉也")
# 一 and 不 are often written with their changed tone (yí dìng, bú duì).
SANDHI = {"一": {"yí", "yì", "yī"}, "不": {"bú", "bù"}}


def toneless(syllable):
    decomposed = unicodedata.normalize("NFD", syllable)
    return "".join(ch for ch in decomposed if not unicodedata.combining(ch) or ch == "\u0308")


def tone_marked(syllable):
    return toneless(syllable) != unicodedata.normalize("NFD", syllable)


def tone_of(syllable):
    return "".join(ch for ch in unicodedata.normalize("NFD", syllable) if ch in "\u0304\u0301\u030c\u0300")


def edit_distance(a, b):
    row = list(range(len(b) + 1))
    for i, x in enumerate(a, 1):
        prev, row[0] = row[0], i
        for j, y in enumerate(b, 1):
            prev, row[j] = row[j], min(row[j] + 1, row[j - 1] + 1, prev + (x != y))
    return row[-1]


class Readings:
    def __init__(self, lines):
        self.modern = {}
        self.all = {}
        self.standard = set()
        for line in lines:
            if not line.startswith("U+"):
                continue
            code, field, value = line.split("\t", 2)
            if field not in ALL_FIELDS:
                continue
            char = chr(int(code[2:], 16))
            if field == "kTGHZ2013":
                self.standard.add(char)
            found = []
            for part in value.split(" "):
                pinyin = part.split(":", 1)[-1]
                for p in pinyin.split(","):
                    p = re.sub(r"\(\d+\)$", "", p).strip()
                    if p:
                        found.append(unicodedata.normalize("NFC", p))
            target = self.modern if field in MODERN_FIELDS else None
            for p in found:
                self.all.setdefault(char, [])
                if p not in self.all[char]:
                    self.all[char].append(p)
                if target is not None:
                    target.setdefault(char, [])
                    if p not in target[char]:
                        target[char].append(p)

    @classmethod
    def from_file(cls, path=UNIHAN_READINGS):
        try:
            with bz2.open(path, "rt", encoding="utf-8") as f:
                return cls(f.read().splitlines())
        except OSError:
            sys.exit("missing %s: install the Debian package unicode-data "
                     "(tools/setup.sh does)" % path)

    def check(self, char, syllable, tones_lost=False):
        """(ok, repair): ok when the syllable is a reading of char (a toneless
        syllable is the neutral tone of a reading, unless tones_lost says the
        whole pinyin lost its tone marks); otherwise repair is the one reading
        it can only have meant, or None when that is not certain.  Only a
        character of the standard list (kTGHZ2013) is trusted: a rarer one in
        an idiom is often a garbled stand-in for the right character."""
        every = self.all.get(char)
        if not every:
            return True, None  # nothing to check against
        if syllable in every or syllable in SANDHI.get(char, ()):
            return True, None
        bare = toneless(syllable)
        if not tones_lost and not tone_marked(syllable) and any(toneless(r) == bare for r in every):
            # A toneless syllable is the neutral tone, unless the character has
            # one reading only and is no word that takes the neutral tone.
            modern = self.modern.get(char) or every
            if len(modern) == 1 and char in self.standard and char not in NEUTRAL_TONE:
                return False, modern[0]
            return True, None
        if char not in self.standard:
            return False, None
        modern = self.modern.get(char) or every
        if tone_marked(syllable) and any(map(tone_marked, modern)):
            # 惊心 xīng: a syllable with a tone mark was not meant as the
            # neutral tone (心 xīn, xin).
            modern = [r for r in modern if tone_marked(r)]
        if len(modern) == 1:
            return False, modern[0]
        same_letters = [r for r in modern if toneless(r) == bare]
        if len(same_letters) > 1 and tone_marked(syllable):
            # 罢黜 bā: a syllable with a tone mark was not meant as the neutral tone.
            same_letters = [r for r in same_letters if tone_marked(r)]
        if len(same_letters) == 1:
            return False, same_letters[0]
        if not same_letters:
            # 同 tóon, 为 wé: one letter lost, added or changed, the tone kept.
            near = [r for r in modern if tone_of(r) == tone_of(syllable) and tone_of(r)
                    and edit_distance(toneless(r), bare) <= 1]
            if len(near) == 1:
                return False, near[0]
        return False, None


def split_pinyin(phrase, pinyin):
    """(pieces, syllable indexes, characters): pieces alternate syllables and
    separators; the syllables line up with the characters when the counts agree."""
    chars = [ch for ch in phrase if "\u4e00" <= ch <= "\u9fff" or "\u3400" <= ch <= "\u4dbf"]
    pieces = re.split(r"([^a-zA-Zü\u00c0-\u024f\u0300-\u036f]+)", unicodedata.normalize("NFC", pinyin))
    syllables = [i for i, p in enumerate(pieces) if i % 2 == 0 and p]
    return pieces, syllables, chars


def attested_readings(pairs):
    """(character, syllable) pairs that occur at least twice in (phrase, pinyin)
    pairs: a reading the source uses more than once is no slip of the pen."""
    seen = {}
    for phrase, pinyin in pairs:
        pieces, syllables, chars = split_pinyin(phrase, pinyin)
        if len(syllables) == len(chars):
            for index, char in zip(syllables, chars):
                key = (char, pieces[index].lower())
                seen[key] = seen.get(key, 0) + 1
    return {key for key, n in seen.items() if n >= 2}


def attested_ok(readings, char, syllable):
    """A reading attested in the source counts only with the letters of a
    known reading (春风风人 fèng); the same slip made twice (惊心 xīng) does not."""
    return any(toneless(r) == toneless(syllable) for r in readings.all.get(char, ()))


def repair_pinyin(phrase, pinyin, readings, stats, unsure, attested=frozenset()):
    """The pinyin with every syllable that is no reading of its character
    replaced by the one it must have been.  Syllables that cannot be repaired
    with certainty are kept and listed in unsure as (phrase, char, syllable)."""
    pieces, syllables, chars = split_pinyin(phrase, pinyin)
    if len(syllables) != len(chars):
        if chars:
            stats.add("pinyin not checked: syllables do not match the characters")
        return pinyin
    tones_lost = len(chars) > 1 and not any(tone_marked(pieces[i]) for i in syllables)
    if tones_lost:
        stats.add("pinyin without any tone mark (entries)")
    swap_neighbours(pieces, syllables, chars, readings, stats)
    for index, char in zip(syllables, chars):
        syllable = pieces[index].lower()
        if (char, syllable) in attested and tone_marked(syllable) and attested_ok(readings, char, syllable):
            continue
        ok, repair = readings.check(char, syllable, tones_lost)
        if ok:
            continue
        if repair is None:
            unsure.append((phrase, char, pieces[index]))
            stats.add("pinyin syllable not a reading of its character, left (unsure)")
        else:
            pieces[index] = repair
            stats.add("pinyin syllable repaired from the character's readings")
    return "".join(pieces)


def swap_neighbours(pieces, syllables, chars, readings, stats):
    """物美价廉 jià měi wù lián: syllables that are no reading of their
    characters but, put in another order, each fit one: reordered when only
    one order fits."""
    def fits(char, syllable):
        return syllable.lower() in readings.all.get(char, ())
    wrong = [k for k in range(len(chars)) if not fits(chars[k], pieces[syllables[k]])]
    if len(wrong) < 2 or len(wrong) > 6:
        return
    found = []

    def place(i, used, chosen):
        if len(found) > 1:
            return
        if i == len(wrong):
            found.append(list(chosen))
            return
        for j in wrong:
            if j not in used and fits(chars[wrong[i]], pieces[syllables[j]]):
                place(i + 1, used | {j}, chosen + [j])
    place(0, frozenset(), [])
    if len(found) == 1:
        moved = [pieces[syllables[j]] for j in found[0]]
        for k, syllable in zip(wrong, moved):
            pieces[syllables[k]] = syllable
        stats.add("pinyin syllables out of order put back (entries)")


def realign(phrase, pinyin, readings):
    """For a pinyin whose syllables do not line up with the characters:
    (new pinyin, what was done).  Syllables run together ("fēngliú") are
    parted where each character's reading begins; a pinyin cut short is
    completed when every missing character has one modern reading, else
    dropped (""); so is one with a syllable missing inside, or with more
    syllables than characters (two characters merged into one in the head:
    "一硼地 yī niú hǒu dì", which the caller drops)."""
    pieces, syllables, chars = split_pinyin(phrase, pinyin)
    if len(syllables) > len(chars):
        return None, "merged"
    stream = [pieces[i].lower() for i in syllables]
    out = []
    k = 0
    rest = ""
    for char in chars:
        if not rest:
            if k == len(stream):
                break
            rest = stream[k]
            k += 1
        fits = sorted((r for r in readings.all.get(char, ()) if rest.startswith(r)), key=len, reverse=True)
        if not fits and k == len(stream) and any(r.startswith(rest) for r in readings.all.get(char, ())):
            rest = ""  # "lǐ xià b": cut inside the last syllable
            break
        if not fits:
            return "", "missing"
        out.append(fits[0])
        rest = rest[len(fits[0]):]
    if rest or k < len(stream):
        return "", "missing"
    status = "parted"
    while len(out) < len(chars):
        modern = [r for r in readings.modern.get(chars[len(out)], ()) if tone_marked(r)]
        if len(modern) != 1:
            return "", "cut"
        out.append(modern[0])
        status = "completed"
    # The head's own punctuation between the clauses.
    text, i = [], 0
    for ch in phrase:
        if ch in chars[i:i + 1]:
            text.append((" " if text and text[-1] != "，" else "") + out[i])
            i += 1
        elif not ("\u4e00" <= ch <= "\u9fff" or "\u3400" <= ch <= "\u4dbf"):
            text.append("，")
    return "".join(text), status
