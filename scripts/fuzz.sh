#!/usr/bin/env bash
# Fuzzing: builds the libFuzzer targets of tests/fuzz with clang, AddressSanitizer and UBSan into build-fuzz/,
# then runs each for a while from its seed corpus and prints its executions and coverage. An input that crashes,
# hangs or takes more memory than the work limit is copied into tests/fuzz/regressions/<target>/, where the
# normal test suite feeds it through the same entry function, and the run fails. The regression seeds are not
# fuzzed from: they are large on purpose and would slow every execution.
#   scripts/fuzz.sh                      every target for 600 s
#   scripts/fuzz.sh --seconds 60         CI's length
#   scripts/fuzz.sh --target hpgl        one target
# Runs niced; the build takes the shared build lock when one exists, the fuzzing never holds it.
set -euo pipefail
source "$(dirname "$0")/common.sh"

seconds=600
only=""
while [ $# -gt 0 ]; do
  case "$1" in
    --seconds) seconds="$2"; shift 2 ;;
    --target) only="$2"; shift 2 ;;
    *) echo "usage: scripts/fuzz.sh [--seconds N] [--target NAME]" >&2; exit 2 ;;
  esac
done
targets=(hpgl task_file stroke_font settings machine_replies)
[ -n "$only" ] && targets=("$only")

build="$QV_ROOT/build-fuzz"
fuzz_dir="$QV_ROOT/tests/fuzz"
qv_install_packages clang-14 libclang-rt-14-dev
lock=()
[ -e /tmp/qv-build.lock ] && lock=(flock /tmp/qv-build.lock)
cmake -S "$QV_ROOT" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_CXX_COMPILER_LAUNCHER=ccache \
  -DQV_FUZZ=ON -DQV_BUILD_TESTS=OFF -DQV_BUILD_BENCH=OFF -DQV_BUILD_UI=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
"${lock[@]}" cmake --build "$build" --parallel "${QV_JOBS:-$(nproc)}" --target "${targets[@]/#/fuzz_}"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
failed=0
printf '%-16s %12s %8s %8s %8s  %s\n' target executions exec/s cov ft result
for target in "${targets[@]}"; do
  corpus="$work/$target"
  artifacts="$work/$target-found/"
  mkdir -p "$corpus" "$artifacts"
  cp "$fuzz_dir/corpus/$target/"* "$corpus/" 2>/dev/null || true
  options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=1024 -max_len=16384
           -print_final_stats=1 -artifact_prefix="$artifacts")
  [ "$target" = hpgl ] && options+=(-dict="$fuzz_dir/hpgl.dict")
  status=0
  nice -n 10 "$build/tests/fuzz/fuzz_$target" "${options[@]}" "$corpus" >"$work/$target.log" 2>&1 || status=$?
  runs="$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$work/$target.log" | grep -o '[0-9]*$' || echo 0)"
  speed="$(grep -o 'stat::average_exec_per_sec: *[0-9]*' "$work/$target.log" | grep -o '[0-9]*$' || echo 0)"
  last="$(grep -E '^#[0-9]+.*cov:' "$work/$target.log" | tail -1 || true)"
  cov="$(sed -n 's/.*cov: \([0-9]*\).*/\1/p' <<<"$last")"
  ft="$(sed -n 's/.*ft: \([0-9]*\).*/\1/p' <<<"$last")"
  result=clean
  if [ "$status" -ne 0 ] || [ -n "$(ls -A "$artifacts")" ]; then
    result="FOUND (see $fuzz_dir/regressions/$target/)"
    mkdir -p "$fuzz_dir/regressions/$target"
    cp "$artifacts"* "$fuzz_dir/regressions/$target/" 2>/dev/null || true
    tail -40 "$work/$target.log" >&2
    failed=1
  fi
  printf '%-16s %12s %8s %8s %8s  %s\n' "$target" "$runs" "$speed" "${cov:-?}" "${ft:-?}" "$result"
done
exit "$failed"
