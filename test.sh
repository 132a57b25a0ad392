#!/usr/bin/env bash
# Installs what is missing, builds into build/ and runs every test.
#   ./test.sh              the normal build
#   ./test.sh --sanitize   a separate build in build-sanitize/ with AddressSanitizer and UBSan
set -euo pipefail
source "$(dirname "$0")/scripts/common.sh"

build_dir="$QV_ROOT/build"
options=()
if [ "${1:-}" = "--sanitize" ]; then
  build_dir="$QV_ROOT/build-sanitize"
  options+=(-DQV_SANITIZE=ON -DQV_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug)
  export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
fi

qv_install_packages
qv_build "$build_dir" "${options[@]}"
cd "$build_dir"
ctest --output-on-failure --timeout 600 --parallel "${QV_JOBS:-$(nproc)}"
