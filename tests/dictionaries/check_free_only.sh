#!/usr/bin/env bash
# Build the openly licensed set (--free-only) and check it like the shipped one:
# valid files, 同义词 and 反义词 from WordNet, and only the open sources'
# licence files beside them.
#
# Usage: tests/dictionaries/check_free_only.sh [REPO_ROOT]
set -u

root=${1:-$(cd "$(dirname "$0")/../.." && pwd)}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
. "$(dirname "$0")/check_lib.sh"
entries() { grep -c '~' "$tmp/$1.mdb"; }

check "the converter builds the free set" \
    python3 "$root/tools/dictionaries/build_dictionaries.py" --sources "$root/data/sources" \
    --out "$tmp" --free-only
validate() {
    python3 "$root/tests/dictionaries/validate_dictionaries.py" "$tmp" > "$tmp/validation.txt" ||
        { grep -v '^ok' "$tmp/validation.txt"; return 1; }
}
check "the free files pass the validation" validate
check "同义词 has WordNet entries" test "$(entries ty)" -gt 10000
check "反义词 has WordNet entries" test "$(entries fy)" -gt 1000
check "反义词 comes from WordNet (高兴~…伤心)" env LC_ALL=C grep -q "$(printf '\xb8\xdf\xd0\xcb~.*\xc9\xcb\xd0\xc4')" "$tmp/fy.mdb"
for source in thesaurus-wordnet-omw synonym-cow; do
    check "licence files of $source are beside the data" test -s "$tmp/licences/$source/LICENSE" -o \
        -s "$tmp/licences/$source/LICENSE.wikt"
done
for source in synonym-cilin antonym-fyc; do
    check "nothing of $source is in the free set" test ! -e "$tmp/licences/$source"
done
summary
