#!/usr/bin/env bash
# Another account on the same machine can neither silence a user's character nor switch its
# single-instance channel off: a world-writable socket or a plain file it leaves in the shared
# temporary folder, or runtime folders of its own, change nothing for the user. The real
# program in Xvfb, run by one account (vembrel-user) while another (vembrel-intruder) acts.
# Needs root to create the two accounts (each created when missing) and to act as them;
# otherwise the test is skipped with status 77.
# Usage: instance_hijack_test.sh <application directory>
set -u
built=$1
if [ "$(id -u)" != 0 ]; then
  echo "SKIPPED: this test needs root, to create two user accounts and act as each of them"
  exit 77
fi
for account in vembrel-user vembrel-intruder; do
  id "$account" >/dev/null 2>&1 && continue
  # Another run may be creating it at the same moment: what counts is that it exists after.
  useradd --system --no-create-home --shell /usr/sbin/nologin "$account" 2>/dev/null
  id "$account" >/dev/null 2>&1 || { echo "cannot create the account $account"; exit 1; }
done
# The command prefix that runs a command as account $1, with a PATH of system folders only
# (root's may hold folders that other accounts cannot enter). A plain command, not a shell
# function, so that a command started in the background has the pid that $! reports.
as_account() {
  as=(setpriv --reuid="$1" --regid="$1" --clear-groups -- env PATH=/usr/local/bin:/usr/bin:/bin)
}
as_account vembrel-intruder
intruder=("${as[@]}")
as_account vembrel-user

source "$(dirname "$0")/../support/x_session.sh"
source "$(dirname "$0")/instance_lib.sh"
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
# The user's own folders, a copy of the program that both accounts can reach, and a temporary
# folder shared as /tmp is: anyone may create files there, only the owner may remove them.
chmod 711 "$work"
chmod 1777 "$TMPDIR"
app=$work/app
mkdir -p "$app" "$work/home"
cp -r "$built/vembrel" "$built/dh.vr" "$built/data" "$built/使用帮助.txt" "$app/"
[ ! -e "$built/vembrel.svg" ] || cp "$built/vembrel.svg" "$app/"
chmod -R a+rX "$app"
chown vembrel-user "$XDG_RUNTIME_DIR" "$work/home"
export HOME=$work/home
run_as=("${as[@]}")
start_xvfb
knocks=$TMPDIR/knocks  # every connection the intruder's sockets took

# The intruder listens on a world-writable socket at $1 and notes every connection.
squat_socket() {
  "${intruder[@]}" python3 - "$1" "$knocks" <<'PY' &
import os, socket, sys
path, knocks = sys.argv[1], sys.argv[2]
server = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
server.bind(path)
os.chmod(path, 0o777)
server.listen(64)
while True:
    client, _ = server.accept()
    with open(knocks, "a") as f:
        f.write("asked\n")
    client.close()
PY
  squatter=$!
  pids+=($squatter)
  for _ in $(seq 50); do [ -S "$1" ] && break; sleep 0.1; done
}

knocked() { [ -s "$knocks" ]; }

# A character appears for the user, and a second launch shows it and ends instead of adding
# another one. $1 names the case.
one_character_for_the_user() {
  : >"$work/err"
  launch
  local first=$launched
  if [ -z "$(window "$character_name" 30)" ]; then
    fail "$1: no character appeared; the program said: $(head -c 300 "$work/err")"
  elif knocked; then
    fail "$1: the program asked the intruder's socket"
  else
    launch
    local second=$launched
    if ! ends_within "$second" 200; then
      fail "$1: a second launch still runs 20 s later ($(characters) characters)"
    elif [ "$status" != 0 ] || ! kill -0 "$first" 2>/dev/null; then
      fail "$1: second launch status $status; the first one runs: $(kill -0 "$first" 2>/dev/null && echo yes || echo no)"
    elif ! characters_settle_at 10 1; then
      fail "$1: $(characters) characters"
    elif knocked; then
      fail "$1: the second launch asked the intruder's socket"
    else
      ok "$1: one character, and a second launch shows it"
    fi
    stop "$second"
  fi
  kill "$first" 2>/dev/null
  ends_within "$first" 100 || stop "$first"
}

old_name="$TMPDIR/vembrel-$(id -u vembrel-user)-${DISPLAY//[^A-Za-z0-9._-]/_}"

# 1. A world-writable socket at the name the user's program used to listen on.
squat_socket "$old_name"
one_character_for_the_user "the intruder's socket in the temporary folder"
kill "$squatter"
rm -f "$old_name" "$knocks"

# 2. A plain file of the intruder's at that name, which the user cannot remove.
"${intruder[@]}" touch "$old_name"
one_character_for_the_user "the intruder's plain file in the temporary folder"

# 3. Runtime folders that are the intruder's: $XDG_RUNTIME_DIR pointing at one (or unset),
# and the fallback that Qt would use squatted, each with a socket where ours would go. The
# program uses neither, and says it runs without a second-launch channel.
fallback="$TMPDIR/runtime-vembrel-user"
"${intruder[@]}" mkdir -m 777 "$fallback" "$TMPDIR/intruder-runtime"
socket_name="vembrel${DISPLAY//[^A-Za-z0-9._:-]/_}.socket"
squat_socket "$fallback/$socket_name"
squat_socket "$TMPDIR/intruder-runtime/$socket_name"
own_runtime=$XDG_RUNTIME_DIR
for runtime in "$TMPDIR/intruder-runtime" ""; do
  if [ -n "$runtime" ]; then
    export XDG_RUNTIME_DIR=$runtime
    case="XDG_RUNTIME_DIR set to the intruder's folder"
  else
    unset XDG_RUNTIME_DIR
    case="XDG_RUNTIME_DIR unset, with Qt's fallback the intruder's"
  fi
  : >"$work/err"
  launch
  if [ -z "$(window "$character_name" 30)" ]; then
    fail "$case: no character appeared; the program said: $(head -c 300 "$work/err")"
  elif knocked; then
    fail "$case: the program asked the intruder's socket"
  elif [ -n "$(find "$fallback" "$TMPDIR/intruder-runtime" -user vembrel-user)" ]; then
    fail "$case: the program wrote into the intruder's folders"
  elif ! grep -q "runtime folder" "$work/err"; then
    fail "$case: no word on standard error about the runtime folder"
  else
    ok "$case: the character appears, the intruder hears nothing"
  fi
  stop "$launched"
done
export XDG_RUNTIME_DIR=$own_runtime

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
