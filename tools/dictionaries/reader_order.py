"""Ordering a phrase file for its reader.

A search returns every line whose head contains the search text, in file
order, and the program announces the first of them.  So the file order decides
what a person hears first:

- a head that equals the search text must come before every longer head that
  contains it (otherwise typing a whole head announces something else);
- among the rest, the common before the rare.

`reader_order` keeps a preferred order (commonness, or a book's own order) as
far as the first rule allows: a head is written only after every shorter head
contained in it.
"""

import math
import sys

JIEBA_DICT = "/usr/lib/python3/dist-packages/jieba/dict.txt"
MAX_WORD = 16


class WordFrequencies:
    """Word frequencies of a segmentation dictionary ("word freq [tag]" lines,
    the format of jieba's dict.txt), and a unigram language model over them:
    the log probability of the most probable segmentation of a text, the way
    jieba itself cuts a sentence."""

    def __init__(self, lines):
        self.freq = {}
        for line in lines:
            parts = line.split(" ")
            if len(parts) >= 2 and parts[0]:
                try:
                    self.freq[parts[0]] = self.freq.get(parts[0], 0) + int(parts[1])
                except ValueError:
                    continue
        self.total = sum(self.freq.values()) or 1
        self.log_total = math.log(self.total)
        self.longest = min(MAX_WORD, max((len(w) for w in self.freq), default=1))
        # An unknown character costs as much as a word seen once.
        self.unknown = -self.log_total

    @classmethod
    def from_file(cls, path=JIEBA_DICT):
        try:
            with open(path, encoding="utf-8") as f:
                return cls(f.read().splitlines())
        except OSError:
            sys.exit("missing %s: install the Debian package python3-jieba "
                     "(tools/setup.sh does)" % path)

    def count(self, word):
        return self.freq.get(word, 0)

    def log_prob(self, text, whole=True):
        """Log probability of the best segmentation of text; with whole=False
        the text itself is not taken as one word (how common its parts are)."""
        n = len(text)
        if n == 0:
            return 0.0
        best = [0.0] + [-math.inf] * n
        freq, log_total = self.freq, self.log_total
        for end in range(1, n + 1):
            top = -math.inf
            for start in range(max(0, end - self.longest), end):
                if best[start] == -math.inf:
                    continue
                if end - start == 1:
                    f = freq.get(text[start])
                    step = (math.log(f) - log_total) if f else self.unknown
                else:
                    if not whole and start == 0 and end == n:
                        continue
                    f = freq.get(text[start:end])
                    if not f:
                        continue
                    step = math.log(f) - log_total
                if best[start] + step > top:
                    top = best[start] + step
            best[end] = top
        return best[n]


def contained_heads(heads, anchor=4):
    """For every head, the other heads that occur inside it.  Heads of at least
    `anchor` characters are found through their first `anchor` characters,
    shorter ones by looking up every short piece of the longer head."""
    by_anchor = {}
    short = set()
    for h in heads:
        if len(h) >= anchor:
            by_anchor.setdefault(h[:anchor], []).append(h)
        else:
            short.add(h)
    found = {}
    for b in heads:
        inside = set()
        n = len(b)
        for i in range(n):
            for length in range(1, anchor):
                if i + length > n or (i == 0 and length == n):
                    break
                piece = b[i:i + length]
                if piece in short:
                    inside.add(piece)
            for a in by_anchor.get(b[i:i + anchor], ()):
                if len(a) < n and b.startswith(a, i):
                    inside.add(a)
        if inside:
            found[b] = inside
    return found


def reader_order(heads, key):
    """The heads in the order of key (smallest first), except that a head
    comes only after every other head it contains."""
    rank = {h: key(h) for h in heads}
    inside = contained_heads(heads)
    done = set()
    out = []
    for h in sorted(heads, key=rank.__getitem__):
        if h in done:
            continue
        # Depth first: the heads inside h (in key order), then h itself.
        stack = [(h, False)]
        while stack:
            node, expanded = stack.pop()
            if node in done:
                continue
            if expanded:
                done.add(node)
                out.append(node)
                continue
            stack.append((node, True))
            for a in sorted(inside.get(node, ()), key=rank.__getitem__, reverse=True):
                if a not in done:
                    stack.append((a, False))
    return out
