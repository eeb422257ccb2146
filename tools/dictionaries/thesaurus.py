"""同义词 and 反义词 entries: which partners a headword gets, and in what order."""

import re

MAX_PARTNERS = 12
WORD_RE = re.compile(r"^[\u3400-\u4dbf\u4e00-\u9fff·]+$")


def clean_word(word):
    """A partner or headword as a person would type it, or None when it is no
    clean Chinese word (scrape garbage such as "?闷", "ｖ祸喊乖唷⑽刍唷")."""
    word = word.strip(" \u3000.")
    if not word or not WORD_RE.match(word) or word.startswith("·") or word.endswith("·"):
        return None
    return word


def cilin_groups(text, stats):
    """The "=" groups of 同义词词林 in file order; "#" groups (related words of
    one class, 龙门刨 牛头刨) and "@" lines (single words) are not synonyms."""
    groups = []
    related = 0
    for line in text.splitlines():
        line = line.strip()
        if not line:
            continue
        code, *words = line.split(" ")
        if code.endswith("#"):
            related += 1
        if code.endswith("="):
            groups.append(words)
    stats.add("'#' groups (related, not equal) left out", related)
    return groups


def cilin_synonyms(groups, stats):
    """word -> list of sense lists.  A word belongs to several groups, one per
    sense; the first sense is the group in which the word stands nearest the
    front (the thesaurus lists a group's core words first), ties in file order.
    Each sense offers the words from the front of its group."""
    membership = {}
    order = []
    for g, words in enumerate(groups):
        for pos, w in enumerate(words):
            if w not in membership:
                membership[w] = []
                order.append(w)
            membership[w].append((pos, g))
    result = {}
    for word in order:
        senses = []
        for pos, g in sorted(membership[word]):
            senses.append(core_partners(word, groups[g]))
        result[word] = senses
    return result


def core_partners(word, group, frequencies=None):
    """The group's words other than word, from the front of the group (twice
    as many as a line shows), in the thesaurus order, but words of two or more
    characters before single characters: 好 reads 良好 优良 优秀 … rather than
    优 精 良 帅 …, whose senses are many."""
    front = []
    for w in group:
        if w != word and w not in front:
            front.append(w)
        if len(front) >= 2 * MAX_PARTNERS:
            break
    return [w for w in front if len(w) > 1] + [w for w in front if len(w) == 1]


def partner_line(word, senses, stats, exclude=frozenset(), pos=None):
    """The tail of an entry: at most MAX_PARTNERS partners, the first sense
    first; senses are parted by "；", partners by a blank.  None when nothing
    is left."""
    taken = set()
    parts = []
    count = 0
    for sense in senses:
        words = []
        for p in sense:
            if count >= MAX_PARTNERS:
                break
            clean = clean_word(p)
            if clean is None:
                stats.add("partner dropped: not a clean Chinese word")
                continue
            if clean == word:
                continue
            if clean in taken:
                continue
            if clean in exclude:
                stats.add("partner dropped: listed as a synonym of the same word")
                continue
            why = pos.why_not(word, clean) if pos is not None else None
            if why:
                stats.add("partner dropped: " + why)
                continue
            taken.add(clean)
            words.append(clean)
            count += 1
        if words:
            parts.append(" ".join(words))
    if not parts:
        return None
    return "；".join(parts)


def synonyms_of(cilin):
    """word -> set of every word sharing a "=" group with it."""
    out = {}
    for word, senses in cilin.items():
        s = out.setdefault(word, set())
        for sense in senses:
            s.update(sense)
    return out


def all_group_synonyms(groups):
    out = {}
    for words in groups:
        for w in words:
            out.setdefault(w, set()).update(words)
    return out


def read_derived_tsv(text):
    """word<TAB>p1;p2;... lines (the WordNet-derived lists) -> ordered pairs."""
    out = []
    for line in text.splitlines():
        if not line or line.startswith("#") or "\t" not in line:
            continue
        word, rest = line.split("\t", 1)
        out.append((word.strip(), [p.strip() for p in rest.split(";") if p.strip()]))
    return out


# ---------------------------------------------------------------------------
# Part of speech: which partners can stand in for the head in a sentence

JIEBA_DICT = "/usr/lib/python3/dist-packages/jieba/dict.txt"
# jieba's tags by what a word can do in a sentence.  The tags are rough (美丽
# ns, 高兴 b, 进步 d), so only classes that cannot replace each other are kept
# apart: things (nouns) and what is said of them (verbs, adjectives and what
# jieba tags like them), numbers and measures, and the idioms.  Names are
# tagged too loosely (卓越 nr) to tell anything.
TAG_CLASSES = {"n": "N", "ng": "N", "nz": "N", "s": "N", "f": "N", "t": "N", "j": "N",
               "v": "P", "vd": "P", "vg": "P", "vi": "P", "vq": "P", "a": "P", "ad": "P",
               "ag": "P", "b": "P", "z": "P", "d": "P", "vn": "NP", "an": "NP",
               "m": "M", "mq": "M", "q": "M", "i": "I", "l": "I"}


class PartsOfSpeech:
    def __init__(self, lines, single_chars_out=False):
        self.single_chars_out = single_chars_out
        self.tags = {}
        for line in lines:
            parts = line.split(" ")
            if len(parts) == 3:
                self.tags[parts[0]] = parts[2]

    @classmethod
    def from_file(cls, path=JIEBA_DICT, single_chars_out=False):
        with open(path, encoding="utf-8") as f:
            return cls(f.read().splitlines(), single_chars_out)

    def word_class(self, word):
        """"I" for an idiom or set phrase (tagged so, or four characters or
        more that jieba does not know), else the letters of the classes it
        may take ("N", "P", "NP", "M"); "" when unknown."""
        tag = self.tags.get(word)
        if tag is None:
            return "I" if len(word) >= 4 else ""
        return TAG_CLASSES.get(tag, "")

    def why_not(self, head, partner):
        """None when partner may stand in for head, else the rule that says no.
        Only clear cases: an idiom (four characters or more) for a word of one
        or two characters or the reverse, and a number or measure word for
        anything else.  jieba's noun/verb/adjective tags are too rough to part
        words by (指责 v, 责备 n; 悲哀 a, 悲戚 n)."""
        if (len(head) >= 4 and len(partner) <= 2) or (len(head) <= 2 and len(partner) >= 4):
            return "idiom for a plain word or the reverse"
        if len(partner) == 1 and len(head) >= 2 and self.single_chars_out:
            # 方块~方, 听见~聪, 凉白开~汤: a lone character has too many
            # senses to stand for a word.
            return "single character for a word"
        if self.word_class(head) == "P" and self.word_class(partner) == "M":
            # 艰巨~千斤: a number or measure word for an adjective or verb.
            return "number or measure word for an adjective or verb"
        return None


def near_synonyms(groups):
    """word -> the words that are synonyms of at least two of its synonyms
    (of two characters or more): 余暇~清闲 (via 空闲 and 闲暇), which the
    thesaurus does not put in one group with the word itself."""
    syn = all_group_synonyms(groups)
    out = {}
    for word, mine in syn.items():
        links = {}
        for s in mine:
            if s == word or len(s) < 2:
                continue
            for p in syn.get(s, ()):
                if p != s:
                    links[p] = links.get(p, 0) + 1
        near = {p for p, n in links.items() if n >= 2 and p != word}
        if near:
            out[word] = near
    return out
