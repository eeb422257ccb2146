#!/usr/bin/env bash
# Rebuild the dictionaries from data/sources and compare them byte for byte
# with the committed data/*.mdb and data/licences/.
#
# Usage: tests/dictionaries/check_reproducible.sh [REPO_ROOT]
set -u

root=${1:-$(cd "$(dirname "$0")/../.." && pwd)}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

if ! python3 "$root/tools/dictionaries/build_dictionaries.py" \
        --sources "$root/data/sources" --out "$tmp"; then
    echo "FAIL: the converter did not run through" >&2
    exit 1
fi

status=0
for name in xh zd cy ty fy gw; do
    committed="$root/data/$name.mdb"
    built="$tmp/$name.mdb"
    if [ ! -f "$committed" ]; then
        echo "FAIL: data/$name.mdb is missing from the repository" >&2
        status=1
    elif [ ! -f "$built" ]; then
        echo "FAIL: the converter wrote no $name.mdb" >&2
        status=1
    elif ! cmp -s "$committed" "$built"; then
        echo "FAIL: data/$name.mdb differs from what the converter builds:" >&2
        cmp "$committed" "$built" >&2
        status=1
    else
        echo "ok: data/$name.mdb"
    fi
done
# The licence and notice files written beside the data.
if ! diff -r "$root/data/licences" "$tmp/licences" >&2; then
    echo "FAIL: data/licences differs from what the converter writes" >&2
    status=1
else
    echo "ok: data/licences"
fi
if [ $status -ne 0 ]; then
    echo "Rebuild with: python3 tools/dictionaries/build_dictionaries.py --sources data/sources --out data --report" >&2
fi
exit $status
