#!/usr/bin/env bash
# Builds the Debian package from a copy of the work tree and leaves it, with its debug symbols,
# in the dist folder; then runs lintian on it. FREE_ONLY=1 builds it from the openly licensed
# data set, and its copyright file says so.
# Usage: packaging/make_deb.sh [STAGING_DIR] [DIST_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
stage=$(realpath -m "${1:-$root/build-deb}")
dist=$(realpath -m "${2:-$root/dist}")

version=$(sed -n 's/^project(vembrel VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
logged=$(dpkg-parsechangelog -l "$root/debian/changelog" -S Version)
if [ "$version" != "$logged" ]; then
  echo "make deb: CMakeLists.txt says version $version but debian/changelog says $logged" >&2
  exit 1
fi
arch=$(dpkg --print-architecture)

src=$stage/vembrel-$version
rm -rf "$stage"
mkdir -p "$src" "$dist"
# The work tree as git sees it (tracked and new files), without build folders.
if git -C "$root" rev-parse --git-dir >/dev/null 2>&1; then
  (cd "$root" && git ls-files -z --cached --others --exclude-standard |
    tar --null -T - --ignore-failed-read -cf - 2>/dev/null) | tar -xf - -C "$src"
else
  tar -C "$root" --exclude='./build*' --exclude=./dist -cf - . | tar -xf - -C "$src"
fi

if [ "${FREE_ONLY:-0}" = 1 ]; then
  python3 "$src/tools/dictionaries/build_dictionaries.py" --sources "$src/data/sources" \
    --out "$stage/free" --free-only
  cp "$stage"/free/*.mdb "$src/data/"
  rm -rf "$src/data/licences"
  cp -r "$stage/free/licences" "$src/data/licences"
  python3 "$root/packaging/free_only_copyright.py" <"$root/debian/copyright" >"$src/debian/copyright"
fi

# debhelper gives the build a HOME of its own, so ccache is told where its cache is.
if command -v ccache >/dev/null; then
  CCACHE_DIR=${CCACHE_DIR:-$(ccache -k cache_dir)}
  # Paths relative to the copy, so that only the flags and sources decide a hit. The
  # build flags name the copy's folder (-ffile-prefix-map), so a hit needs a build in the
  # same staging folder as before: a second `make deb`, or the CI test run again.
  CCACHE_BASEDIR=$src CCACHE_NOHASHDIR=1
  export CCACHE_DIR CCACHE_BASEDIR CCACHE_NOHASHDIR
fi
(cd "$src" && dpkg-buildpackage -b -us -uc -j"$(nproc)")

rm -f "$dist"/vembrel*_"$version"_*
# The debug symbols come as vembrel-dbgsym_<version>_<arch>.deb (.ddeb on some debhelpers).
mv "$stage/vembrel_${version}_$arch".{deb,buildinfo,changes} "$stage"/vembrel-dbgsym_"${version}_$arch".*deb \
  "$dist/"
echo "make deb: $dist/vembrel_${version}_$arch.deb"
lintian --fail-on error "$dist/vembrel_${version}_$arch.changes"
