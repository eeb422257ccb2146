#!/usr/bin/env bash
# The data's licences and notices travel with it: data/README.md and every
# file of data/licences/ are in the build's application folder and in an
# installed tree, and the help text points there, not into the source tree.
#
# Usage: tests/dictionaries/check_licences_installed.sh SOURCE_DIR BUILD_DIR
set -u

src=${1:?usage: check_licences_installed.sh SOURCE_DIR BUILD_DIR}
build=${2:?usage: check_licences_installed.sh SOURCE_DIR BUILD_DIR}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
. "$(dirname "$0")/check_lib.sh"
same_notices() {  # same_notices APP_DIR: README.md and licences/ as in the source
    cmp -s "$src/data/README.md" "$1/data/README.md" && diff -r "$src/data/licences" "$1/data/licences"
}

check "the source has licence files" test -n "$(find "$src/data/licences" -name 'LICENSE*' -print -quit)"
check "build folder: data/README.md and data/licences beside the data" same_notices "$build/bin"
cmake --install "$build" --prefix "$tmp/prefix" > "$tmp/install.log" 2>&1 ||
    { cat "$tmp/install.log"; }
installed=$(find "$tmp/prefix" -path '*/vembrel/data/README.md' -print -quit)
check "installed tree: data/README.md and data/licences beside the data" \
    same_notices "${installed%/data/README.md}"
check "the help text names data/licences" grep -q "data/licences" "$src/data/使用帮助.txt"
check "the help text does not send the user to the source tree" \
    bash -c "! grep -q '源代码' '$src/data/使用帮助.txt'"
summary
