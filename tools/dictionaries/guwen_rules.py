"""古文 translations mended where the mend is certain.

The pairs of the corpus were aligned by machine, sentence by sentence, and
their modern translations were typed in by many hands.  Two kinds of faults
follow, and both are mended here on the pairs in book order, before equal
lines are merged:

- a sentence of one translation that belongs to its neighbour: a closing
  "X说：…" whose speech opens the next line, or an opening sentence that only
  repeats the end of the previous translation;
- a character typed for a look-alike (己/已, 侯/候, 冶/治 …): only the pairs of
  a reviewed list, only where the character forms no word with its
  neighbours and the look-alike makes a much more probable text.
"""

import math
import re

CJK_RUN_RE = re.compile("[\u4e00-\u9fff]+")
SENTENCE_RE = re.compile("[^。！？]*[。！？]+")
# What opens a speech in the classical line and in its translation.
CLASSICAL_SPEECH_RE = re.compile("曰|云|问")
MODERN_SPEECH_RE = re.compile("(?:说|道|问|答|称)：")
SPEECH_OPENS_WITHIN = 8  # characters: "楚庄王说：", "子墨子曰："
MIN_MOVED_LEFT = 4  # CJK characters a translation keeps after a move or a cut
MIN_REPEAT = 6  # CJK characters a repeated opening must have to be cut

# Look-alikes typed for each other, read one by one on what they changed:
# "typed → meant".  Pairs whose two sides are both everyday words in the
# same places (伐/代, 送/这, 入/人, 犬/大, 丘/兵, 玉/主, 匡/国: 匡倩 became
# 国倩) changed good text as often as bad and are left out.
LOOK_ALIKES = (
    "予子 官宫 宫官 熊能 抉扶 己已 已己 未末 末未 曰日 人入 夭天 戎戒 戌戍 "
    "候侯 侯候 徙徒 徒徙 冶治 祟崇 洒酒 间问 壁璧 粟栗 晴睛 延廷 扰忧 隆降 "
    "亨享 享亨 历厉 厉历 矢失 乌鸟 八入 千于 干于 千干 龙尤 往住 兔免 幕慕 "
    "陵凌 炙灸 辩辨 待侍 玉王 磐磬 蜗娲 谈谀 撮操 圈围 刺剌 剌刺 茶荼 导寻 恃侍"
).split()
# Names write 侯 and 己, and where the line has 候 or 已 beside a name the
# line is the one mistyped; 入 beside a name is the verb (狄入卫: 狄人进攻).
NOT_IN_NAMES = "候已入"
# Right as typed, though the dictionary lacks them.
KNOWN_GOOD = ("分予",)
TYPO_MIN_GAIN = 8.0  # natural log: the mended text at least e^8 times likelier
TYPO_WINDOW = 3  # characters on each side weighed with the character


def cjk_count(text):
    return sum(len(m) for m in CJK_RUN_RE.findall(text))


def speech_count(text, pattern):
    return len(pattern.findall(text))


def move_closing_speech(pairs, stats):
    """A translation ending in "X说：…" where its line holds fewer speeches
    than the translation, while the next line opens with a speech its
    translation lacks: the closing sentence opens the next translation."""
    pairs = list(pairs)
    for k in range(len(pairs) - 1):
        head, tail = pairs[k]
        next_head, next_tail = pairs[k + 1]
        sentences = SENTENCE_RE.findall(tail)
        if len(sentences) < 2 or "".join(sentences) != tail:
            continue
        last = sentences[-1]
        opening = MODERN_SPEECH_RE.search(last)
        if not opening or opening.start() > SPEECH_OPENS_WITHIN:
            continue
        if speech_count(head, CLASSICAL_SPEECH_RE) >= speech_count(tail, MODERN_SPEECH_RE):
            continue
        if not CLASSICAL_SPEECH_RE.search(next_head[:SPEECH_OPENS_WITHIN]):
            continue
        moved = last + next_tail
        if speech_count(moved, MODERN_SPEECH_RE) > speech_count(next_head, CLASSICAL_SPEECH_RE):
            continue
        kept = tail[: -len(last)]
        if cjk_count(kept) < MIN_MOVED_LEFT:
            continue
        pairs[k] = (head, kept)
        pairs[k + 1] = (next_head, moved)
        stats.add("古文: closing speech moved to the next line's translation")
    return pairs


def cut_repeated_opening(pairs, stats):
    """A translation opening with sentences the previous translation ends
    with carries them over; they go."""
    pairs = list(pairs)
    for k in range(1, len(pairs)):
        prev_head, prev_tail = pairs[k - 1]
        head, tail = pairs[k]
        if head == prev_head:
            continue
        cut = 0
        for m in SENTENCE_RE.finditer(tail):
            part = tail[: m.end()]
            if m.end() < len(tail) and prev_tail.endswith(part):
                cut = m.end()
        if cut and cjk_count(tail[:cut]) >= MIN_REPEAT and cjk_count(tail[cut:]) >= MIN_MOVED_LEFT:
            pairs[k] = (head, tail[cut:])
            stats.add("古文: opening that repeats the previous translation cut")
    return pairs


def known_good(run, i):
    return any(run[max(0, i - 1) : i + 1] == w or run[i : i + 2] == w for w in KNOWN_GOOD)


def names_it(run, i, meant, classical):
    """Whether the line writes the meant character beside the same neighbour
    (南宫括 in the line, 南官括 in its translation)."""
    if meant in NOT_IN_NAMES:
        return False
    pairs = []
    if i > 0:
        pairs.append(run[i - 1] + meant)
    if i + 1 < len(run):
        pairs.append(meant + run[i + 1])
    return any(p in classical for p in pairs)


# Single characters this common in modern text say nothing about which
# classical line a sentence renders (的, 是, 国, 人 …).
COMMON_CHAR_COUNT = 20000
MIN_TELLING = 2  # telling characters shared with a line


def telling_chars(text, frequencies):
    return {ch for ch in text if "\u4e00" <= ch <= "\u9fff" and frequencies.count(ch) <= COMMON_CHAR_COUNT}


def move_carried_opening(pairs, frequencies, stats):
    """A translation whose first sentence shares telling characters with the
    previous line and none with its own, while the rest does render its own
    line and the previous translation lacks them: the sentence renders the
    previous line.  It goes there when the previous translation renders its
    line too (it lost the sentence); otherwise that translation is of another
    passage and its pair goes."""
    pairs = list(pairs)
    dropped = set()
    for k in range(1, len(pairs)):
        prev_head, prev_tail = pairs[k - 1]
        head, tail = pairs[k]
        if head == prev_head:
            continue
        sentences = SENTENCE_RE.findall(tail)
        if len(sentences) < 2 or "".join(sentences) != tail:
            continue
        first = sentences[0]
        rest = tail[len(first) :]
        mine, previous = telling_chars(head, frequencies), telling_chars(prev_head, frequencies)
        said = telling_chars(first, frequencies)
        if said & mine or len(telling_chars(rest, frequencies) & mine) < MIN_TELLING:
            continue
        if len((said & previous) - telling_chars(prev_tail, frequencies)) < MIN_TELLING:
            continue
        pairs[k] = (head, rest)
        if len(telling_chars(prev_tail, frequencies) & previous) >= MIN_TELLING:
            pairs[k - 1] = (prev_head, prev_tail + first)
            stats.add("古文: opening that renders the previous line moved there")
        else:
            dropped.add(k - 1)
            stats.add("古文: opening that renders the previous line cut, that line's pair dropped")
    return [p for k, p in enumerate(pairs) if k not in dropped]


SPEECH_SEMICOLON_RE = re.compile("(说|道|问|答)；")


def restore_speech_colons(pairs, stats):
    """"X说；" for "X说：" where the line's 曰 opens as many speeches as the
    translation has."""
    out = []
    for head, tail in pairs:
        if (SPEECH_SEMICOLON_RE.search(tail) and "曰" in head
                and len(re.findall("(?:说|道|问|答)[：；]", tail)) <= speech_count(head, CLASSICAL_SPEECH_RE)):
            tail = SPEECH_SEMICOLON_RE.sub(r"\1：", tail)
            stats.add("古文: semicolon after 说 made the colon that opens a speech")
        out.append((head, tail))
    return out


LINE_OPENS_SPEECH_RE = re.compile("^[\u4e00-\u9fff]{1,6}?曰：")
TAIL_OPENS_SPEECH_RE = re.compile("^[^，。：；！？]{1,8}?说(?=[\u4e00-\u9fff])")
# What follows 说 in a statement about speaking rather than before a speech.
NOT_A_SPEECH_AFTER = "过的是了着得出明服道起"


def restore_lost_colons(pairs, frequencies, stats):
    """A line opening with its one "X曰：" whose translation opens "X说" and
    runs straight on into the speech (靳尚说秦王特别钟爱张仪) lost the colon
    with the quotation marks; 说 within a word (劝说, 说法) is not touched."""
    out = []
    for head, tail in pairs:
        m = TAIL_OPENS_SPEECH_RE.match(tail)
        if (m and LINE_OPENS_SPEECH_RE.match(head) and head.count("曰") == 1
                and not MODERN_SPEECH_RE.search(tail) and "说；" not in tail):
            end = m.end()
            if (tail[end] not in NOT_A_SPEECH_AFTER and not frequencies.count(tail[end - 2 : end])
                    and not frequencies.count(tail[end - 1 : end + 1])):
                tail = tail[:end] + "：" + tail[end:]
                stats.add("古文: colon lost before a speech restored")
        out.append((head, tail))
    return out


MIN_TELLING_FOR_MATCH = 6  # telling characters a line needs to be checked


def drop_unrelated(pairs, frequencies, stats):
    """A line with many telling characters whose translation shares none of
    them is mostly of another passage (read: 3 in 5): the pair goes."""
    out = []
    for head, tail in pairs:
        mine = telling_chars(head, frequencies)
        if len(mine) >= MIN_TELLING_FOR_MATCH and not mine & telling_chars(tail, frequencies):
            stats.add("古文: entry dropped: translation shares no telling character with its line")
            continue
        out.append((head, tail))
    return out


# A translation is usually this many times as long as its line (CJK
# characters, the corpus's median).
USUAL_RATIO = 1.74
SHORT_SHARE = 0.7  # of the usual length: a translation that lost a sentence
LONG_SHARE = 1.5  # of the usual length: one that took it
MIN_BALANCE_GAIN = 0.5  # natural log: how much better the lengths fit


def length_misfit(head, tail):
    """How far the translation's length is from the usual one (log)."""
    return abs(math.log(max(1, cjk_count(tail)) / (max(1, cjk_count(head)) * USUAL_RATIO)))


def share(head, tail):
    return cjk_count(tail) / (max(1, cjk_count(head)) * USUAL_RATIO)


def boundary_slipped(first, second):
    """Whether sentences of one translation belong to its neighbour: one of
    the two is short for its line, the other long, and moving whole sentences
    across makes both fit much better.  Which sentences is not certain (a
    short translation is as often of another passage), so the caller drops
    both pairs."""
    (h1, t1), (h2, t2) = first, second
    if h1 == h2:
        return False
    before = length_misfit(h1, t1) + length_misfit(h2, t2)
    if share(h1, t1) < SHORT_SHARE and share(h2, t2) > LONG_SHARE:
        sentences = SENTENCE_RE.findall(t2)
        if "".join(sentences) == t2:
            moves = ["".join(sentences[:j]) for j in range(1, len(sentences))]
            return any(before - length_misfit(h1, t1 + m) - length_misfit(h2, t2[len(m) :]) > MIN_BALANCE_GAIN
                       for m in moves)
    if share(h1, t1) > LONG_SHARE and share(h2, t2) < SHORT_SHARE:
        sentences = SENTENCE_RE.findall(t1)
        if "".join(sentences) == t1:
            moves = ["".join(sentences[j:]) for j in range(1, len(sentences))]
            return any(before - length_misfit(h1, t1[: -len(m)]) - length_misfit(h2, m + t2) > MIN_BALANCE_GAIN
                       for m in moves)
    return False


def drop_slipped(pairs, stats):
    """Both pairs of every slipped boundary go."""
    slipped = set()
    for k in range(1, len(pairs)):
        if boundary_slipped(pairs[k - 1], pairs[k]):
            slipped.update((k - 1, k))
    stats.add("古文: entry dropped: a sentence slipped to or from its neighbour", len(slipped))
    return [p for k, p in enumerate(pairs) if k not in slipped]


# What makes a classical line a question, or a rhetorical one (敢不 → 怎敢不…？).
CLASSICAL_QUESTION_RE = re.compile("[？?乎哉邪耶与欤焉何孰安恶岂谁奚胡宁曷盍矧敢殆犹]")
# A question with more after it; a last sentence may only make a statement
# rhetorical, a question inside holds a neighbour's or stands for a lost
# character (四海？大川).
INNER_QUESTION_RE = re.compile("？(?=.*[\u4e00-\u9fff])")


def drop_unasked_questions(pairs, stats):
    """A translation asking, before its end, a question its line does not ask:
    the pair goes."""
    out = []
    for head, tail in pairs:
        if INNER_QUESTION_RE.search(tail) and not CLASSICAL_QUESTION_RE.search(head):
            stats.add("古文: entry dropped: translation asks a question its line does not")
            continue
        out.append((head, tail))
    return out


class TypoMender:
    def __init__(self, frequencies, look_alikes=LOOK_ALIKES):
        self.wf = frequencies
        self.meant = {}
        for pair in look_alikes:
            self.meant.setdefault(pair[0], []).append(pair[1])

    def forms_a_word(self, run, i):
        """Whether run[i] is part of a word of two or more characters."""
        longest = self.wf.longest
        for start in range(max(0, i - longest + 1), i + 1):
            for end in range(i + 1, min(len(run), start + longest) + 1):
                if end - start >= 2 and self.wf.count(run[start:end]):
                    return True
        return False

    def meant_char(self, run, i, classical):
        """The character meant at run[i], or None when no mend is certain."""
        typed = run[i]
        if typed in classical:
            return None  # names and terms of the line keep their characters
        lo, hi = max(0, i - TYPO_WINDOW), min(len(run), i + TYPO_WINDOW + 1)
        window = run[lo:hi]
        if self.forms_a_word(run, i):
            return None
        if known_good(run, i):
            return None
        before = self.wf.log_prob(window)
        better = []
        for meant in self.meant[typed]:
            mended = window[: i - lo] + meant + window[i - lo + 1 :]
            if self.wf.log_prob(mended) - before > TYPO_MIN_GAIN or names_it(run, i, meant, classical):
                better.append(meant)
        return better[0] if len(better) == 1 else None

    def mend(self, classical, modern):
        chars = list(modern)
        for m in CJK_RUN_RE.finditer(modern):
            run = m.group()
            for i, ch in enumerate(run):
                if ch in self.meant:
                    meant = self.meant_char(run, i, classical)
                    if meant:
                        chars[m.start() + i] = meant
        return "".join(chars)

    def mend_pairs(self, pairs, stats):
        out = []
        for head, tail in pairs:
            new = self.mend(head, tail)
            if new != tail:
                stats.add("古文: look-alike character typed for another mended")
            out.append((head, new))
        return out


def mend_pairs(pairs, frequencies, stats):
    """pairs: (classical, modern) in book order; the mended list."""
    pairs = move_closing_speech(pairs, stats)
    pairs = cut_repeated_opening(pairs, stats)
    pairs = move_carried_opening(pairs, frequencies, stats)
    pairs = drop_slipped(pairs, stats)
    pairs = drop_unasked_questions(pairs, stats)
    pairs = drop_unrelated(pairs, frequencies, stats)
    pairs = restore_speech_colons(pairs, stats)
    pairs = restore_lost_colons(pairs, frequencies, stats)
    return TypoMender(frequencies).mend_pairs(pairs, stats)
