#!/usr/bin/env bash
# Rebuild the dictionaries from data/sources and compare them byte for byte
# with the committed data/*.mdb and data/licences/.  Given BUILT, a folder the
# converter has written the set to already (rebuild_dictionaries.sh's
# OUT/full), it compares that instead of rebuilding.
#
# Usage: tests/dictionaries/check_reproducible.sh [REPO_ROOT [BUILT]]
set -u

root=${1:-$(cd "$(dirname "$0")/../.." && pwd)}
built=${2:-}

if [ -n "$built" ]; then
    if [ ! -d "$built" ]; then
        echo "FAIL: no rebuilt set in $built (the rebuild did not run through)" >&2
        exit 1
    fi
else
    built=$(mktemp -d)
    trap 'rm -rf "$built"' EXIT
    if ! python3 "$root/tools/dictionaries/build_dictionaries.py" \
            --sources "$root/data/sources" --out "$built"; then
        echo "FAIL: the converter did not run through" >&2
        exit 1
    fi
fi

status=0
for name in xh zd cy ty fy gw; do
    committed="$root/data/$name.mdb"
    file="$built/$name.mdb"
    if [ ! -f "$committed" ]; then
        echo "FAIL: data/$name.mdb is missing from the repository" >&2
        status=1
    elif [ ! -f "$file" ]; then
        echo "FAIL: the converter wrote no $name.mdb" >&2
        status=1
    elif ! cmp -s "$committed" "$file"; then
        echo "FAIL: data/$name.mdb differs from what the converter builds:" >&2
        cmp "$committed" "$file" >&2
        status=1
    else
        echo "ok: data/$name.mdb"
    fi
done
# The licence and notice files written beside the data.
if ! diff -r "$root/data/licences" "$built/licences" >&2; then
    echo "FAIL: data/licences differs from what the converter writes" >&2
    status=1
else
    echo "ok: data/licences"
fi
if [ $status -ne 0 ]; then
    echo "Rebuild with: python3 tools/dictionaries/build_dictionaries.py --sources data/sources --out data --report" >&2
fi
exit $status
