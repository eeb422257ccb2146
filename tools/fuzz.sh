#!/usr/bin/env bash
# Builds the libFuzzer targets in build-fuzz (clang++, ASan and UBSan) and runs each in turn for
# a while on a copy of its seed corpus in tests/fuzz/corpus/. Fails, naming the input that
# broke it, when a target crashes, hangs, runs out of memory or finds a property broken.
#
#   tools/fuzz.sh [seconds-per-target] [target...]      (default: 15 s, every target)
#
# New corpus entries go to a temporary directory, never into the repository. Environment:
# VEMBREL_FUZZ_BUILD (build directory), VEMBREL_FUZZ_KEEP=DIR (keep the grown corpora there),
# JOBS (build jobs).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${VEMBREL_FUZZ_BUILD:-$root/build-fuzz}
seconds=${1:-15}
[ $# -gt 0 ] && shift
all_targets=(fuzz_phrase_search fuzz_hanzi_lookup fuzz_character_file fuzz_console_commands)
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=("${all_targets[@]}")
case $seconds in
  '' | *[!0-9]*) echo "fuzz.sh: seconds must be a whole number, not '$seconds'" >&2; exit 2 ;;
esac

flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
cmake -S "$root" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVEMBREL_FUZZ=ON -DBUILD_TESTING=ON -DCMAKE_CXX_FLAGS="$flags" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
cmake --build "$build" -j "${JOBS:-$(nproc)}" --target "${targets[@]}"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Fuzzes one target for the given seconds; writes what it found to $work/<target>.report and
# fails when the target broke.
fuzz_one() {
  local target=$1 corpus=$work/corpus/$1 artifacts=$build/artifacts/$1 status=0
  local log=$work/$target.log report=$work/$target.report
  mkdir -p "$corpus" "$work/run-$target"
  rm -rf "$artifacts" && mkdir -p "$artifacts"
  cp -r "$root/tests/fuzz/corpus/$target/." "$corpus/"
  local options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -jobs=1 -workers=1
                 -print_final_stats=1 -artifact_prefix="$artifacts/")
  [ -f "$root/tests/fuzz/$target.dict" ] && options+=(-dict="$root/tests/fuzz/$target.dict")
  # A character file is JSON with SVG inside: its inputs need room.
  [ "$target" = fuzz_character_file ] && options+=(-max_len=65536)
  echo "== $target: ${seconds}s" >"$report"
  # Each in a folder of its own: with -jobs the fuzzing runs in a child that writes fuzz-0.log
  # there, which the parent has already printed.
  (cd "$work/run-$target" && "$build/fuzz/$target" "${options[@]}" "$corpus" >"$log" 2>&1) ||
    status=$?
  grep -E '^(Done |stat::number_of_executed_units|stat::peak_rss_mb)|#[0-9]+ +DONE' "$log" \
    >>"$report" || true
  echo "   corpus: $(find "$corpus" -type f | wc -l) inputs" >>"$report"
  if [ -n "${VEMBREL_FUZZ_KEEP:-}" ]; then
    mkdir -p "$VEMBREL_FUZZ_KEEP/$target" && cp -r "$corpus/." "$VEMBREL_FUZZ_KEEP/$target/"
  fi
  local reproducers
  reproducers=$(find "$artifacts" -type f)
  if [ $status -ne 0 ] || [ -n "$reproducers" ]; then
    tail -n 60 "$log" >>"$report"
    echo "FAILED $target; reproduce with: $build/fuzz/$target ${reproducers:-<see the log above>}" \
      >>"$report"
    return 1
  fi
}

# The targets run side by side, one a processor: each still fuzzes its full time on a
# processor of its own, and the whole run takes a fraction of the time.
slots=${JOBS:-$(nproc)}
declare -A running=()
failed=()
collect() {  # waits for the target $1 and notes whether it broke
  wait "${running[$1]}" || failed+=("$1")
  unset "running[$1]"
}
for target in "${targets[@]}"; do
  while [ ${#running[@]} -ge "$slots" ]; do
    wait -n || true
    for done_target in "${!running[@]}"; do
      kill -0 "${running[$done_target]}" 2>/dev/null || collect "$done_target"
    done
  done
  fuzz_one "$target" &
  running[$target]=$!
done
for target in "${!running[@]}"; do collect "$target"; done
for target in "${targets[@]}"; do cat "$work/$target.report"; done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz.sh: ${#failed[@]} target(s) failed: ${failed[*]}" >&2
  exit 1
fi
echo "fuzz.sh: ${#targets[@]} target(s) ran ${seconds}s each without a finding"
