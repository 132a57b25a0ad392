#!/usr/bin/env bash
# The hot-folder storm at full size: writer processes drop 2000 files into the data directory of a running
# headless station (written whole, slowly, pausing mid-file, empty, invalid, locked, renamed in), the station is
# killed 5 times at random moments and started again; every valid drawing must end in the task list once and
# whole, every refused one out of the data directory. The short form (200 files, one kill) runs in ctest.
#   scripts/storm.sh [--files N] [--kills K] [--writers W] [--seconds S] [--seed N] [--build DIR]
set -euo pipefail
source "$(dirname "$0")/common.sh"

files=2000
kills=5
writers=8
seconds=10
seed=20261210
build="$QV_ROOT/build"
while [ $# -gt 0 ]; do
  case "$1" in
    --files) files="$2"; shift 2 ;;
    --kills) kills="$2"; shift 2 ;;
    --writers) writers="$2"; shift 2 ;;
    --seconds) seconds="$2"; shift 2 ;;
    --seed) seed="$2"; shift 2 ;;
    --build) build="$(cd "$2" && pwd)"; shift 2 ;;
    *) echo "usage: scripts/storm.sh [--files N] [--kills K] [--writers W] [--seconds S] [--seed N] [--build DIR]" >&2
       exit 2 ;;
  esac
done
tests="$build/tests/workflow/quorvane_workflow_tests"
[ -x "$tests" ] || { echo "storm: $tests is not built" >&2; exit 1; }

QV_STORM_FILES="$files" QV_STORM_KILLS="$kills" QV_STORM_WRITERS="$writers" QV_STORM_SECONDS="$seconds" \
  QV_STORM_SEED="$seed" "$tests" --gtest_filter='HotFolderStorm.*'
