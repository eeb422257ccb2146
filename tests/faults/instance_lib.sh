# Shared by the single-instance tests of the real program: launching it, counting its
# characters, waiting for a launch to end, and the files a program left behind. Source it
# after tests/support/x_session.sh with `app` set to the application directory.

character_name='^Vembrel 双击显示菜单$'

# Starts the program in the background with the usual signal actions (a background job of a
# script would otherwise ignore SIGINT), as the account `run_as` names if any; sets `launched`
# to its pid.
run_as=()
launch() {
  "${run_as[@]}" python3 -c 'import os, signal, sys
for s in (signal.SIGINT, signal.SIGQUIT): signal.signal(s, signal.SIG_DFL)
os.execv(sys.argv[1], sys.argv[1:])' "$app/vembrel" >>"$work/out" 2>>"$work/err" &
  launched=$!
  pids+=($launched)
}

# How many characters are on the screen.
characters() { xdotool search --onlyvisible --name "$character_name" 2>/dev/null | wc -l; }

# Waits up to $2 tenths of a second for process $1 to end and sets `status` to its exit
# status; returns 1, leaving it running, when it does not end in time.
ends_within() {
  for _ in $(seq "$2"); do kill -0 "$1" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$1" 2>/dev/null && return 1
  { wait "$1"; } 2>/dev/null  # no "Hangup" notice from the shell
  status=$?
}

# Ends process $1 with SIGKILL if it still runs.
stop() { kill -9 "$1" 2>/dev/null; wait "$1" 2>/dev/null; }

# What programs left in the runtime and the temporary folder, one name a line.
leftovers() { (cd "$XDG_RUNTIME_DIR" && ls -A; cd "$TMPDIR" && ls -A) 2>/dev/null; }

# Waits up to $1 seconds for a character, then until $2 of them have been on the screen for a
# while; true when exactly $2 are there.
characters_settle_at() {
  window "$character_name" "$1" >/dev/null
  local seen same=0
  for _ in $(seq 40); do
    seen=$(characters)
    if [ "$seen" = "$2" ]; then same=$((same + 1)); else same=0; fi
    [ "$same" -ge 5 ] && return 0
    sleep 0.1
  done
  [ "$(characters)" = "$2" ]
}
