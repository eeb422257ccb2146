#!/usr/bin/env python3
"""Turns debian/copyright (stdin) into the copyright file of the openly licensed data set
(stdout): the synonyms and antonyms come from the WordNet-derived lists, and nothing of the
research-use or unlicensed sources is shipped."""
import sys

FREE_COMMENT = """Comment: Data set: the openly licensed one (built with `--free-only`). Its
 synonyms (data/ty.mdb) and antonyms (data/fy.mdb) are derived from the
 Wiktionary-based Chinese wordnet, Chinese Open Wordnet and Princeton WordNet;
 nothing of the research-use or unlicensed sources is shipped. The licence,
 citation and notice files of every data source are installed in
 /usr/share/doc/vembrel/licences/ and described in
 /usr/share/doc/vembrel/README.data.md."""

DROPPED_LICENCES = {"License: research-only", "License: none"}


def main() -> None:
    paragraphs = sys.stdin.read().strip("\n").split("\n\n")
    out = []
    for i, paragraph in enumerate(paragraphs):
        lines = paragraph.split("\n")
        if i == 0:
            start = next(n for n, line in enumerate(lines) if line.startswith("Comment:"))
            end = start + 1
            while end < len(lines) and lines[end].startswith(" "):
                end += 1
            lines[start:end] = FREE_COMMENT.split("\n")
        elif lines[0] in ("Files: data/ty.mdb", "Files: data/fy.mdb"):
            continue
        elif lines[0] in DROPPED_LICENCES:
            continue
        elif lines[0] == "Files: data/sources/thesaurus-wordnet-omw.tar.xz":
            lines = ["Files: data/ty.mdb", " data/fy.mdb",
                     " data/licences/thesaurus-wordnet-omw/*", " data/licences/synonym-cow/*",
                     " data/sources/thesaurus-wordnet-omw.tar.xz"] + lines[1:]
            lines = [line for line in lines if not line.startswith(("Comment:", " ship"))]
            lines.append("Comment: 同义词 and 反义词 of the openly licensed set.")
        out.append("\n".join(lines))
    sys.stdout.write("\n\n".join(out) + "\n")


if __name__ == "__main__":
    main()
