#!/usr/bin/env bash
# Rebuild both dictionary sets once for the checks that compare them:
# OUT/full (the shipped set) and OUT/free (the --free-only set), the files
# the two share built only once.  OUT holds a complete run or nothing, so a
# failed rebuild never leaves older files for the checks to pass on.
#
# Usage: tests/dictionaries/rebuild_dictionaries.sh REPO_ROOT OUT
set -u

root=${1:?usage: rebuild_dictionaries.sh REPO_ROOT OUT}
out=${2:?usage: rebuild_dictionaries.sh REPO_ROOT OUT}
rm -rf "$out" "$out.partial"
mkdir -p "$out.partial"
if ! python3 "$root/tools/dictionaries/build_dictionaries.py" --sources "$root/data/sources" \
        --out "$out.partial/full" --free-out "$out.partial/free"; then
    echo "FAIL: the converter did not run through" >&2
    rm -rf "$out.partial"
    exit 1
fi
mv "$out.partial" "$out"
echo "ok: both sets rebuilt in $out"
