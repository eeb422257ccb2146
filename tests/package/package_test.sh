#!/usr/bin/env bash
# The Debian package as a user meets it: built, checked by lintian, appstreamcli and
# desktop-file-validate, installed, started under Xvfb, its tray item 登录时启动 ticked and
# unticked across a restart, and removed without a trace in /usr.
# Installs into the system, so it needs root (CI); skipped otherwise.
# Usage: package_test.sh <source folder> <work folder>
set -u
src=$1
out=$2
if [ "$(id -u)" -ne 0 ]; then echo "skipped: installing a package needs root"; exit 77; fi
if dpkg-query -W -f='${Status}' vembrel 2>/dev/null | grep -q 'ok installed'; then
  echo "skipped: vembrel is installed already, and this test would remove it"; exit 77
fi
source "$src/tests/support/x_session.sh"
installed=0
finish() {
  [ "$installed" = 1 ] && dpkg --purge vembrel >/dev/null 2>&1
  cleanup
}
trap finish EXIT

id=$(sed -n 's/^set(VEMBREL_DESKTOP_ID \(.*\))$/\1/p' "$src/CMakeLists.txt")
version=$(sed -n 's/^project(vembrel VERSION \([0-9.]*\).*/\1/p' "$src/CMakeLists.txt")
arch=$(dpkg --print-architecture)
deb=$out/dist/vembrel_${version}_$arch.deb
mkdir -p "$out"

# 1. The package builds, and lintian finds no error and at most two warnings.
if bash "$src/packaging/make_deb.sh" "$out/stage" "$out/dist" >"$out/build.log" 2>&1; then
  ok "make deb built $(basename "$deb") (lintian: no errors)"
else
  fail "make deb failed"; tail -n 40 "$out/build.log"; exit 1
fi
ls "$out/dist/vembrel-dbgsym_${version}_$arch".*deb >/dev/null 2>&1 && ok "the debug symbols package is there" ||
  fail "no dbgsym package"
lintian "$out/dist/vembrel_${version}_$arch.changes" >"$out/lintian.txt" 2>&1
warnings=$(grep -c '^W:' "$out/lintian.txt")
if [ "$warnings" -le 2 ]; then ok "lintian: $warnings warnings"; else fail "lintian: $warnings warnings"; cat "$out/lintian.txt"; fi
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] && ok "package version $version" ||
  fail "package version $(dpkg-deb -f "$deb" Version), CMake says $version"

# The free set's copyright file (make deb FREE_ONLY=1) names WordNet for 同义词 and 反义词
# and nothing of the research-use or unlicensed sources.
free=$(python3 "$src/packaging/free_only_copyright.py" <"$src/debian/copyright")
if grep -q 'openly licensed one' <<<"$free" && ! grep -q -e 'synonym-cilin' -e 'antonym-fyc' \
     -e '^License: research-only' -e '^License: none' <<<"$free" &&
   grep -A10 '^Files: data/ty.mdb' <<<"$free" | grep -q '^License: CC-BY-SA-3.0 and WordNet'; then
  ok "the free set's copyright file names only the open sources"
else
  fail "the free set's copyright file"; echo "$free"
fi

# 2. What desktops read validates.
tree=$work/tree
dpkg-deb -x "$deb" "$tree"
desktop=$tree/usr/share/applications/$id.desktop
metainfo=$tree/usr/share/metainfo/$id.metainfo.xml
check_tool() { if "${@:2}" >"$work/check.txt" 2>&1; then ok "$1"; else fail "$1"; cat "$work/check.txt"; fi; }
check_tool "desktop-file-validate passes" desktop-file-validate "$desktop"
check_tool "appstreamcli validate passes" appstreamcli validate --no-net "$metainfo"
grep -q "<release version=\"$version\"" "$metainfo" && ok "metainfo release $version" ||
  fail "the metainfo's release is not $version"
for f in usr/bin/vembrel usr/share/vembrel/dh.vr usr/share/vembrel/data/cy.mdb \
         usr/share/man/man1/vembrel.1.gz usr/share/doc/vembrel/copyright \
         usr/share/doc/vembrel/licences/hanzi-unihan/COPYRIGHT \
         usr/share/icons/hicolor/scalable/apps/$id.svg usr/share/icons/hicolor/48x48/apps/$id.png \
         usr/share/icons/hicolor/128x128/apps/$id.png; do
  [ -s "$tree/$f" ] || fail "the package lacks /$f"
done
ok "the package holds program, data, man page, copyright, licences and icons"

# 3. It installs, with what it depends on.
before=$(find /usr -name '*vembrel*' -o -name "$id*" | sort)
dpkg -i "$deb" >"$work/dpkg.txt" 2>&1 || DEBIAN_FRONTEND=noninteractive apt-get -f install -y -qq >>"$work/dpkg.txt" 2>&1
if dpkg-query -W -f='${Status}' vembrel 2>/dev/null | grep -q 'ok installed'; then
  installed=1; ok "dpkg -i installed it"
else
  fail "the package did not install"; cat "$work/dpkg.txt"; exit 1
fi

# 4. The console options, without a display.
[ "$(DISPLAY= /usr/bin/vembrel --version)" = "vembrel $version" ] && ok "--version says $version" ||
  fail "--version says '$(DISPLAY= /usr/bin/vembrel --version 2>&1)'"
DISPLAY= /usr/bin/vembrel --nonsense >/dev/null 2>"$work/usage.txt"
status=$?
[ "$status" = 2 ] && [ "$(wc -l <"$work/usage.txt")" = 1 ] && ok "an unknown option: status 2, one line" ||
  fail "an unknown option: status $status, $(cat "$work/usage.txt")"
# Every option that --help lists is in the man page.
missing=""
for option in $(DISPLAY= /usr/bin/vembrel --help | grep -o -- '--[a-z-]*' | sort -u); do
  man -l /usr/share/man/man1/vembrel.1.gz 2>/dev/null | grep -q -- "$option" || missing+=" $option"
done
[ -z "$missing" ] && ok "the man page lists every option of --help" || fail "the man page lacks$missing"

# 5. The installed program starts and shows the character; its tray item writes and removes
# the autostart entry, and after a restart it reads the state back from that file.
export HOME=$work/home XDG_CONFIG_HOME=$work/home/config
mkdir -p "$HOME"
entry=$XDG_CONFIG_HOME/autostart/$id.desktop
start_xvfb
trayer --edge top --align left --widthtype pixel --width 200 --height 32 --SetDockType false \
  >/dev/null 2>&1 &
pids+=($!)
start_installed() {
  /usr/bin/vembrel >>"$work/vembrel.out" 2>>"$work/vembrel.err" &
  program=$!
  pids+=($program)
  [ -n "$(window '^Vembrel 双击显示菜单$' 30)" ]
}
tray_icon() {
  xwininfo -root -tree 2>/dev/null | awk '
    /"panel": \("panel" "trayer"\)/ {inside = 1; depth = index($0, "0x"); next}
    inside && index($0, "0x") <= depth && /0x/ {inside = 0}
    inside && /\("vembrel" "Vembrel"\)/ {print $1; exit}'
}
# Right-clicks the tray icon and picks 登录时启动 by keyboard: the 13th item, after 显示, 隐藏
# and the ten commands of the character's menu (separators are skipped).
toggle_autostart() {
  local icon=""
  for _ in $(seq 50); do icon=$(tray_icon); [ -n "$icon" ] && break; sleep 0.2; done
  [ -n "$icon" ] || return 1
  eval "$(xdotool getwindowgeometry --shell "$icon")"
  xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) sleep 0.2 click 3
  sleep 0.8
  for _ in $(seq 13); do xdotool key Down; sleep 0.1; done
  xdotool key Return
}
wait_for() { for _ in $(seq 50); do test "$@" && return 0; sleep 0.1; done; return 1; }

if start_installed; then ok "/usr/bin/vembrel shows the character"; else fail "no character window"; cat "$work/vembrel.err"; fi
[ ! -e "$entry" ] && ok "autostart is off by default" || fail "an autostart entry exists before any choice"
toggle_autostart || fail "no tray icon"
if wait_for -s "$entry" && grep -qx 'Exec=vembrel' "$entry" && grep -qx "Icon=$id" "$entry"; then
  ok "登录时启动 wrote the installed desktop entry to $entry"
else
  fail "登录时启动 wrote no autostart entry"; cat "$entry" 2>/dev/null
fi
desktop-file-validate "$entry" >/dev/null 2>&1 && ok "the autostart entry validates" || fail "the autostart entry does not validate"
kill "$program"; wait "$program" 2>/dev/null
if start_installed; then ok "started again"; else fail "no character after a restart"; fi
# Ticked after the restart (read from the file), so choosing the item now unticks it.
toggle_autostart || fail "no tray icon after the restart"
wait_for ! -e "$entry" && ok "after a restart, 登录时启动 is ticked and unticking removes the entry" ||
  fail "the autostart entry is still there after unticking"
kill "$program"; wait "$program" 2>/dev/null
unexpected=$(grep -v -e '^$' "$work/vembrel.err")
[ -z "$unexpected" ] && ok "nothing on standard error" || { fail "standard error:"; echo "$unexpected"; }

# 6. Removing it leaves nothing in /usr.
dpkg --purge vembrel >"$work/dpkg.txt" 2>&1 && installed=0
after=$(find /usr -name '*vembrel*' -o -name "$id*" | sort)
if [ "$installed" = 0 ] && [ "$before" = "$after" ]; then ok "dpkg --purge left nothing in /usr"; else
  fail "after dpkg --purge: $(diff <(echo "$before") <(echo "$after"))"
fi

echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
