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


def partner_line(word, senses, stats, exclude=frozenset()):
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
