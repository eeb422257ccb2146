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
failed=()
for target in "${targets[@]}"; do
  corpus=$work/corpus/$target
  artifacts=$build/artifacts/$target
  mkdir -p "$corpus"
  rm -rf "$artifacts" && mkdir -p "$artifacts"
  cp -r "$root/tests/fuzz/corpus/$target/." "$corpus/"
  options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -jobs=1 -workers=1
           -print_final_stats=1 -artifact_prefix="$artifacts/")
  [ -f "$root/tests/fuzz/$target.dict" ] && options+=(-dict="$root/tests/fuzz/$target.dict")
  # A character file is JSON with SVG inside: its inputs need room.
  [ "$target" = fuzz_character_file ] && options+=(-max_len=65536)
  log=$work/$target.log
  echo "== $target: ${seconds}s"
  status=0
  (cd "$work" && "$build/fuzz/$target" "${options[@]}" "$corpus" >"$log" 2>&1) || status=$?
  # With -jobs the fuzzing runs in a child whose fuzz-0.log the parent has already printed.
  rm -f "$work/fuzz-0.log"
  grep -E '^(Done |stat::number_of_executed_units|stat::peak_rss_mb)|#[0-9]+ +DONE' "$log" || true
  echo "   corpus: $(find "$corpus" -type f | wc -l) inputs"
  if [ -n "${VEMBREL_FUZZ_KEEP:-}" ]; then
    mkdir -p "$VEMBREL_FUZZ_KEEP/$target" && cp -r "$corpus/." "$VEMBREL_FUZZ_KEEP/$target/"
  fi
  reproducers=$(find "$artifacts" -type f)
  if [ $status -ne 0 ] || [ -n "$reproducers" ]; then
    tail -n 60 "$log"
    echo "FAILED $target; reproduce with: $build/fuzz/$target ${reproducers:-<see the log above>}"
    failed+=("$target")
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz.sh: ${#failed[@]} target(s) failed: ${failed[*]}" >&2
  exit 1
fi
echo "fuzz.sh: ${#targets[@]} target(s) ran ${seconds}s each without a finding"
