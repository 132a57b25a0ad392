#!/usr/bin/env bash
# Installs what is missing, builds into build/ and runs every test.
#   ./test.sh              the normal build
#   ./test.sh --sanitize   a separate build in build-sanitize/ with AddressSanitizer and UBSan
#   ./test.sh --tsan       a separate build in build-tsan/ with ThreadSanitizer, running the suites where
#                          threads meet: link, output, workflow and the end-to-end tests
# The two sanitized builds leave the window out: Qt's own start-up allocations would drown LeakSanitizer's
# report, and the window's threads are the output centre's, which both builds cover.
set -euo pipefail
source "$(dirname "$0")/scripts/common.sh"

build_dir="$QV_ROOT/build"
options=()
labels=""
if [ "${1:-}" = "--tsan" ]; then
  build_dir="$QV_ROOT/build-tsan"
  options+=(-DQV_SANITIZE_THREAD=ON -DQV_BUILD_BENCH=OFF -DQV_BUILD_UI=OFF)
  labels="link|output|workflow|e2e"
  export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1"
elif [ "${1:-}" = "--sanitize" ]; then
  build_dir="$QV_ROOT/build-sanitize"
  options+=(-DQV_SANITIZE=ON -DQV_BUILD_BENCH=OFF -DQV_BUILD_UI=OFF -DCMAKE_BUILD_TYPE=Debug)
  export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
fi

qv_install_packages
qv_build "$build_dir" "${options[@]}"
cd "$build_dir"
ctest --output-on-failure --timeout 600 --parallel "${QV_JOBS:-$(nproc)}" ${labels:+--label-regex "$labels"}
