"""Reviewed corrections, applied after the cleaning rules.

tools/dictionaries/errata/*.tsv hold one correction per line, tab-separated:

    file  entry  change  text  new  reason

file is the dictionary (xh cy ty fy gw zd), entry its head (for zd the
character).  change is one of
    drop-entry    the entry goes (text and new empty)
    drop-partner  the partner text goes from a 同义词/反义词 line (new empty);
                  an entry left without partners goes too
    replace       text becomes new in the entry's tail, its texts joined by
                  "；" as they are shown when the text spans two (zd: in its sense lines,
                  and a reading a sense is newly filed under joins the header);
                  an empty new cuts the text (a translation's stray sentence)
    head          the head becomes new (text empty); a head that exists
                  already takes the tails of both
Lines starting with "#" and empty lines are comments.  Every line needs a
reason, and every line must change something: an erratum that no longer
matches (the source or a rule changed) stops the build, so that the list
never silently goes stale.  Files are read in name order, lines in file
order, so the result is the same on every run.
"""

import os

ERRATA_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "errata")
CHANGES = ("drop-entry", "drop-partner", "replace", "head")
FILES = ("xh", "cy", "ty", "fy", "gw", "zd")


class Erratum:
    def __init__(self, where, fields):
        self.where = where
        self.file, self.entry, self.change, self.text, self.new, self.reason = fields

    def __repr__(self):
        return "%s: %s %s %s" % (self.where, self.file, self.entry, self.change)


def parse(text, name="errata"):
    """The errata of one file's text; raises ValueError on a malformed line."""
    out = []
    for number, line in enumerate(text.splitlines(), 1):
        if not line.strip() or line.startswith("#"):
            continue
        fields = line.split("\t")
        where = "%s:%d" % (name, number)
        if len(fields) != 6:
            raise ValueError("%s: %d fields, 6 wanted" % (where, len(fields)))
        e = Erratum(where, [f.strip() for f in fields])
        if e.file not in FILES:
            raise ValueError("%s: unknown file %r" % (where, e.file))
        if e.change not in CHANGES:
            raise ValueError("%s: unknown change %r" % (where, e.change))
        if not e.entry or not e.reason:
            raise ValueError("%s: entry and reason are required" % where)
        if e.change in ("drop-partner", "replace") and not e.text:
            raise ValueError("%s: %s needs the text it changes" % (where, e.change))
        if e.change == "head" and not e.new:
            raise ValueError("%s: head needs the new head" % where)
        out.append(e)
    return out


def load(folder=ERRATA_DIR):
    out = []
    if not os.path.isdir(folder):
        return out
    for name in sorted(os.listdir(folder)):
        if name.endswith(".tsv"):
            with open(os.path.join(folder, name), encoding="utf-8") as f:
                out.extend(parse(f.read(), name))
    return out


class Unmatched(Exception):
    pass


def drop_partner(tail, partner):
    """The 同义词/反义词 tail without partner ("a b；c"), or None if it was not
    there."""
    senses = [s.split(" ") for s in tail.split("；")]
    if not any(partner in s for s in senses):
        return None
    kept = [" ".join(p for p in s if p != partner) for s in senses]
    return "；".join(s for s in kept if s)


def apply_phrases(entries, errata, stats):
    """entries: OrderedDict head -> list of tails (PhraseBook.entries),
    changed in place."""
    for e in errata:
        if e.entry not in entries:
            raise Unmatched("%r: no entry %s" % (e, e.entry))
        tails = entries[e.entry]
        if e.change == "drop-entry":
            del entries[e.entry]
        elif e.change == "drop-partner":
            new = [drop_partner(t, e.text) for t in tails]
            if all(n is None for n in new):
                raise Unmatched("%r: no partner %s" % (e, e.text))
            kept = [n if n is not None else t for n, t in zip(new, tails)]
            kept = [t for t in kept if t]
            if kept:
                entries[e.entry] = kept
            else:
                del entries[e.entry]
                stats.add("errata: entry left without partners dropped")
        elif e.change == "replace":
            if not any(e.text in t for t in tails):
                # A reader sees an entry's texts joined by "；": a cut may take in the
                # end of one and the mark before the next.  The texts then stay joined.
                joined = "；".join(tails)
                if e.text not in joined:
                    raise Unmatched("%r: text %s not found" % (e, e.text))
                tails = [joined]
            kept = [t.replace(e.text, e.new).strip().strip("；") for t in tails]
            kept = [t for t in kept if t]  # a cut that leaves a merged tail empty
            if kept:
                entries[e.entry] = kept
            else:
                del entries[e.entry]
        elif e.change == "head":
            del entries[e.entry]
            if e.new in entries:
                entries[e.new].extend(t for t in tails if t not in entries[e.new])
            else:
                entries[e.new] = tails
        stats.add("errata: %s" % e.change)


def apply_zidian(lines, errata, stats):
    """lines: the zd.mdb lines; a header "~字 …" opens a character's entry.
    Only replace applies (to the sense lines of the character)."""
    for e in errata:
        if e.change != "replace":
            raise Unmatched("%r: only replace applies to zd" % e)
        found = False
        char = None
        for i, line in enumerate(lines):
            if line.startswith("~"):
                char = line[1:].split(" ", 1)[0]
            elif char == e.entry and e.text in line:
                lines[i] = line.replace(e.text, e.new)
                found = True
        if not found:
            raise Unmatched("%r: text %s not found" % (e, e.text))
        name_labels_in_header(lines, e.entry)
        stats.add("errata: %s" % e.change)


def name_labels_in_header(lines, char):
    """An erratum may file a sense under another reading ([màn] -> [mán]);
    the headers of char then name it too, after their readings."""
    labels = []
    for line in char_lines(lines, char):
        label = line[1:line.find("]")] if line.startswith("[") else None
        if label and label not in labels:
            labels.append(label)
    for i, line in enumerate(lines):
        if line.startswith("~") and line[1:].split(" ", 1)[0] == char:
            parts = line.split(" ")
            end = 1
            while end < len(parts) and not parts[end].endswith(("部", "画")):
                end += 1
            missing = [r for r in labels if r not in parts[1:end]]
            lines[i] = " ".join(parts[:end] + missing + parts[end:])


def char_lines(lines, char):
    current = None
    for line in lines:
        if line.startswith("~"):
            current = line[1:].split(" ", 1)[0]
        elif current == char:
            yield line
