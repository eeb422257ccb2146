#!/usr/bin/env bash
# Build the openly licensed set (--free-only) and check it like the shipped one:
# valid files, 同义词 and 反义词 from WordNet, and only the open sources'
# licence files beside them.  Given BUILT, a folder the converter has written
# the set to already (rebuild_dictionaries.sh's OUT/free), it checks that
# instead of building.
#
# Usage: tests/dictionaries/check_free_only.sh [REPO_ROOT [BUILT]]
set -u

root=${1:-$(cd "$(dirname "$0")/../.." && pwd)}
built=${2:-}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
. "$(dirname "$0")/check_lib.sh"
if [ -n "$built" ]; then
    check "the free set was built in $built" test -d "$built"
else
    built=$tmp/free
    check "the converter builds the free set" \
        python3 "$root/tools/dictionaries/build_dictionaries.py" --sources "$root/data/sources" \
        --out "$built" --free-only
fi
entries() { grep -c '~' "$built/$1.mdb"; }

validate() {
    python3 "$root/tests/dictionaries/validate_dictionaries.py" "$built" > "$tmp/validation.txt" ||
        { grep -v '^ok' "$tmp/validation.txt"; return 1; }
}
check "the free files pass the validation" validate
check "同义词 has WordNet entries" test "$(entries ty)" -gt 10000
check "反义词 has WordNet entries" test "$(entries fy)" -gt 1000
check "反义词 comes from WordNet (高兴~…伤心)" env LC_ALL=C grep -q "$(printf '\xb8\xdf\xd0\xcb~.*\xc9\xcb\xd0\xc4')" "$built/fy.mdb"
for source in thesaurus-wordnet-omw synonym-cow; do
    check "licence files of $source are beside the data" test -s "$built/licences/$source/LICENSE" -o \
        -s "$built/licences/$source/LICENSE.wikt"
done
for source in synonym-cilin antonym-fyc; do
    check "nothing of $source is in the free set" test ! -e "$built/licences/$source"
done
summary
