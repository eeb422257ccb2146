"""同义词 and 反义词 entries: which partners a headword gets, and in what order."""

import re

MAX_PARTNERS = 12
# A word's further senses count only where it stands among the first words of
# the group: further back it is a loose member (噙 in 包含 包孕 …, where it only
# shares 含), and the front of that group says nothing about it.
SENSE_FRONT = 3
# A word that stands this deep in every group it belongs to is a loose member
# of a long list (公司 among 商店 铺子 …, 返贫 after 贫穷 贫困 …): the front
# of the group names something else, so the word gets no entry.
DEEP_MEMBER = 7
# A word's partners come from the first PARTNER_FRONT words of its group: the
# tail of a long group drifts (长久 … 马拉松, 疾病 … 病魔).  A lone character
# takes its partners from further back, past the other lone characters at the
# front.  Idioms drift the most (各执一词~离心离德 同床异梦): an idiom gets
# partners only where both stand among the first IDIOM_FRONT words.
PARTNER_FRONT = 6
IDIOM_FRONT = 3
SIDE_FRONT = 2
# jieba's lowest counts: words it has seen about once (困人, 碑阴, 臂助).
RARE_COUNT = 3
MUCH_RARER = 20
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
    sense; its core group is the one in which it stands nearest the front (the
    thesaurus lists a group's core words first), ties in file order.  That
    sense comes first; a further sense counts only where the word stands among
    the first SENSE_FRONT words of its group.  Each sense offers the words from
    the front of its group, less those that stand there in a side sense."""
    membership = {}
    order = []
    for g, words in enumerate(groups):
        for pos, w in enumerate(words):
            if w not in membership:
                membership[w] = []
                order.append(w)
            membership[w].append((pos, g))
    core = {w: min(m)[1] for w, m in membership.items()}
    result = {}
    for word in order:
        senses = []
        if min(membership[word])[0] >= DEEP_MEMBER:
            stats.add("word dropped: it stands deep in every group it belongs to")
            continue
        for n, (pos, g) in enumerate(sorted(membership[word])):
            if n > 0 and pos >= SENSE_FRONT:
                stats.add("sense left out: the word stands deep in that group")
                continue
            if n > 0 and pos > 0 and len(word) >= 2:
                # A word of two characters or more has one sense as a rule;
                # a second one counts where the word heads that group.
                stats.add("sense left out: a word's second sense where it does not lead")
                continue
            if len(word) >= 4:
                if pos >= IDIOM_FRONT:
                    stats.add("idiom sense left out: the idiom stands deep in that group")
                    continue
                front = groups[g][:IDIOM_FRONT]
            elif len(word) >= 2:
                front = groups[g][:PARTNER_FRONT]
            else:
                front = groups[g]
            senses.append(core_partners(word, side_senses_out(front, g, core, stats)))
        result[word] = senses
    return result


def side_senses_out(words, g, core, stats):
    """The words of group g less those that stand past its first SIDE_FRONT
    words while their own core group is another: 解决 among 歼灭 剿灭 …, 现象
    among 景象 状况 …, 路线 among 途径 路径 … mean something else first, and a
    learner would take them in that sense."""
    kept = []
    for pos, w in enumerate(words):
        if pos >= SIDE_FRONT and core.get(w, g) != g:
            stats.add("partner dropped: it means something else first")
            continue
        kept.append(w)
    return kept


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
    """jieba's tags and counts.  single_chars_out and strict are the 同义词
    rules: no lone character for a word, no noun for a verb or adjective, no
    rare word for a common one."""

    def __init__(self, lines, single_chars_out=False, strict=False):
        self.single_chars_out = single_chars_out
        self.strict = strict
        self.tags = {}
        self.counts = {}
        for line in lines:
            parts = line.split(" ")
            if len(parts) == 3:
                self.tags[parts[0]] = parts[2]
                self.counts[parts[0]] = int(parts[1])

    @classmethod
    def from_file(cls, path=JIEBA_DICT, single_chars_out=False, strict=False):
        with open(path, encoding="utf-8") as f:
            return cls(f.read().splitlines(), single_chars_out, strict)

    def rare(self, word):
        return self.counts.get(word, 0) <= RARE_COUNT

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
        if self.strict and ((len(head) == 3 and self.word_class(partner) == "I")
                            or (len(partner) == 3 and self.word_class(head) == "I")):
            # 来得及~亡羊补牢, 迷魂药~甜言蜜语: a set phrase for a word.
            return "idiom for a plain word or the reverse"
        if len(partner) == 1 and len(head) >= 2 and self.single_chars_out:
            # 方块~方, 听见~聪, 凉白开~汤: a lone character has too many
            # senses to stand for a word.
            return "single character for a word"
        if self.word_class(head) == "P" and self.word_class(partner) == "M":
            # 艰巨~千斤: a number or measure word for an adjective or verb.
            return "number or measure word for an adjective or verb"
        if self.strict:
            classes = {self.word_class(head), self.word_class(partner)}
            if classes == {"N", "P"}:
                # Half of these pairs are a thing for an action or a quality
                # (艰~难题, 念书~深造, 源于~根源); the rest have closer partners.
                return "noun for a verb or adjective or the reverse"
            if self.rare(partner) and not self.rare(head):
                # A word jieba has barely seen is as often another sense
                # (周围~四郊, 副~臂助) as an obscure synonym; neither helps.
                return "rare word for a common one"
            if (not set(head) & set(partner)
                    and self.counts.get(partner, 0) * MUCH_RARER < self.counts.get(head, 0)):
                # Nearly half of these are another sense or another thing
                # (考虑~着想, 白醋~苦酒); a partner sharing a character with
                # the word is seldom wrong, however rare.
                return "much rarer word with no character in common"
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


def synonyms_of_synonyms(groups):
    """word -> the words that share a group with one of its synonyms, all of
    two characters or more (末端~结尾 via 末尾, 浅陋~肤浅 via 浅薄).  Lone
    characters have too many senses to link anything."""
    syn = all_group_synonyms(groups)
    out = {}
    for word, mine in syn.items():
        if len(word) < 2:
            continue
        near = set()
        for s in mine:
            if s != word and len(s) >= 2:
                near.update(p for p in syn.get(s, ()) if len(p) >= 2 and p != word)
        if near:
            out[word] = near
    return out


def one_synonym_apart(head, partner, synonyms, antonyms):
    """True when the two words differ in one character only and those two
    characters are synonyms that the antonym list does not oppose: 回国~归国,
    省力~省劲, 厚待~厚遇 are the same word, 上班~下班 and 好事~坏事 are not."""
    if len(head) != len(partner) or len(head) < 2:
        return False
    diff = [(a, b) for a, b in zip(head, partner) if a != b]
    if len(diff) != 1:
        return False
    a, b = diff[0]
    return b in synonyms.get(a, ()) and b not in antonyms.get(a, ()) and a not in antonyms.get(b, ())


def keep_mutual(entries, stats):
    """entries: head -> [tail], changed in place.  Between words of two
    characters or more a synonym holds both ways: a partner whose own entry
    does not list the head (or which has none) reads the group in another
    sense (鲜明~清晰, 牵涉~连累, 古松~迎客松) and goes.  Lone characters are
    left alone: a word's entry never lists them."""
    partners = {h: set(" ".join(t).replace("；", " ").split()) for h, t in entries.items()}
    for head in list(entries):
        if len(head) < 2:
            continue
        tails = []
        for tail in entries[head]:
            senses = []
            for sense in tail.split("；"):
                kept = [p for p in sense.split(" ") if head in partners.get(p, ())]
                stats.add("partner dropped: its own entry does not list the word",
                          len(sense.split(" ")) - len(kept))
                if kept:
                    senses.append(" ".join(kept))
            if senses:
                tails.append("；".join(senses))
        if tails:
            entries[head] = tails
        else:
            del entries[head]
            stats.add("word left without a partner that lists it: no line")


def sibling_kinds_out(entries, synonyms, pos, stats):
    """entries: head -> [tail], changed in place.  Two nouns that end in the
    same character but differ in what comes before it are as a rule two kinds
    of one thing (信汇~邮汇, 船员~潜水员, 堂叔~表叔), not one thing named
    twice.  Such a partner goes unless the two modifiers are synonyms
    (中饭~午饭) or one holds the other (道路~路).  Only where the entry keeps
    another partner: an entry whose partners all share its last character is
    most often one thing under two names (锻铁~熟铁, 电子管~真空管)."""
    for head in list(entries):
        if len(head) < 2 or pos.word_class(head) != "N":
            continue
        words = [p for tail in entries[head] for sense in tail.split("；") for p in sense.split(" ")]
        siblings = {p for p in words if is_sibling_kind(head, p, synonyms, pos)}
        if not siblings or not set(words) - siblings:
            continue
        tails = []
        for tail in entries[head]:
            senses = []
            for sense in tail.split("；"):
                kept = [p for p in sense.split(" ") if p not in siblings]
                if kept:
                    senses.append(" ".join(kept))
            if senses:
                tails.append("；".join(senses))
        stats.add("partner dropped: another kind of the same thing", len(siblings))
        entries[head] = tails


def is_sibling_kind(head, partner, synonyms, pos):
    if len(partner) < 2 or head[-1] != partner[-1] or pos.word_class(partner) != "N":
        return False
    a, b = head[:-1], partner[:-1]
    return not (a in b or b in a or b in synonyms.get(a, ()))
