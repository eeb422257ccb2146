#!/usr/bin/env bash
# Pack the raw dictionary sources into data/sources/<folder>.tar.xz.
#
# Usage: tools/dictionaries/pack_sources.sh RAW_DIR [OUT_DIR [NAME...]]
#   RAW_DIR  folder holding one sub-folder per source (antonym-fyc, chengyu-xinhua, ...)
#   OUT_DIR  defaults to data/sources next to this script's repository root
#   NAME     the sources to pack; all of them when none is given. hanzi-unihan
#            is made by extract_unihan.py, not taken from a raw folder as is.
#
# The archives are reproducible: names sorted, fixed owner and mtime, no
# compression timestamp, single-threaded xz. For guwen-niutrans only the
# per-chapter bitext.txt and 数据来源.txt files plus the top-level documents
# are packed; that is all the converter reads. For hanzi-mapull the detailed
# sense file is left out: only the character list is read. For synonym-cow only
# its documents (licence, citation, SOURCE.md) are packed: its words reach the
# data through the WordNet-derived lists of thesaurus-wordnet-omw, whose
# licence notices must travel with them.
set -euo pipefail

raw=${1:?usage: pack_sources.sh RAW_DIR [OUT_DIR]}
here=$(cd "$(dirname "$0")" && pwd)
out=${2:-$here/../../data/sources}
mkdir -p "$out"
out=$(cd "$out" && pwd)

sources=(antonym-fyc chengyu-xinhua guwen-chushibiao guwen-niutrans hanzi-mapull hanzi-unihan
         hanzi-zdict synonym-cilin synonym-cow thesaurus-wordnet-omw xiehouyu-pwxcoo)
if [ $# -gt 2 ]; then sources=("${@:3}"); fi

for name in "${sources[@]}"; do
    [ -d "$raw/$name" ] || { echo "missing source folder: $raw/$name" >&2; exit 1; }
    list=$(mktemp)
    if [ "$name" = guwen-niutrans ]; then
        (cd "$raw" && find "$name" -maxdepth 1 -type f -print &&
            find "$name/双语数据" -type f \( -name bitext.txt -o -name 数据来源.txt \) -print) \
            | LC_ALL=C sort > "$list"
    elif [ "$name" = hanzi-mapull ]; then
        (cd "$raw" && find "$name" -type f ! -name char_common_detail.json -print) \
            | LC_ALL=C sort > "$list"
    elif [ "$name" = synonym-cow ]; then
        (cd "$raw" && find "$name" -maxdepth 1 -type f ! -name '*.tsv' -print) | LC_ALL=C sort > "$list"
    else
        (cd "$raw" && find "$name" -type f -print) | LC_ALL=C sort > "$list"
    fi
    LC_ALL=C tar -C "$raw" --no-recursion --files-from="$list" \
        --owner=0 --group=0 --numeric-owner --mtime=@0 \
        --mode='u=rw,go=r' --format=gnu -cf - \
        | xz -9 -T1 --check=crc64 > "$out/$name.tar.xz"
    rm -f "$list"
    echo "$out/$name.tar.xz $(stat -c %s "$out/$name.tar.xz") bytes"
done
