#!/usr/bin/env bash
# Builds an optimised tree in build-bench/ and runs every benchmark (or those named on the command line).
set -euo pipefail
source "$(dirname "$0")/common.sh"

qv_install_packages
qv_build "$QV_ROOT/build-bench" -DCMAKE_BUILD_TYPE=Release -DQV_BUILD_TESTS=OFF >/dev/null
cd "$QV_ROOT/build-bench/bench"
benches=("$@")
[ ${#benches[@]} -eq 0 ] && benches=($(ls bench_* 2>/dev/null))
for b in "${benches[@]}"; do
  echo "== $b"
  "./$b" --benchmark_counters_tabular=true
done
