#!/usr/bin/env bash
# The data's licences and notices travel with it: data/README.md and every
# file of data/licences/ are in the build's application folder and, once
# installed, in the documentation folder (README.data.md and licences/), and
# the help text points there, not into the source tree.
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
installed_notices() {  # the documentation folder holds the same README and licences
    local doc
    doc=$(find "$tmp/prefix" -path '*/doc/vembrel/README.data.md' -printf '%h' -quit)
    [ -n "$doc" ] && test -n "$(find "$tmp/prefix" -path '*/vembrel/data/cy.mdb' -print -quit)" &&
        cmp -s "$src/data/README.md" "$doc/README.data.md" && diff -r "$src/data/licences" "$doc/licences"
}
check "installed tree: the data's README and licences in the documentation folder" installed_notices
check "the help text names data/licences" grep -q "data/licences" "$src/data/使用帮助.txt"
check "the help text does not send the user to the source tree" \
    bash -c "! grep -q '源代码' '$src/data/使用帮助.txt'"
summary
