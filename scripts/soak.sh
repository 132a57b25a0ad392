#!/usr/bin/env bash
# The soak run: the headless station in the ageing mode (RepeatCut=1) outputs one drawing again and again to the
# virtual machine. Every job must complete, the station's resident memory and open descriptors must stay flat
# between job 10 and the last one, and the station must close cleanly. Built with the sanitizers, LeakSanitizer
# checks it at exit instead: their allocator holds freed memory back on purpose, so resident memory is only shown.
#   scripts/soak.sh                          1000 jobs with the programs of build/
#   scripts/soak.sh --jobs 100 --build DIR   another length, the programs of DIR (e.g. build-sanitize/)
set -euo pipefail
source "$(dirname "$0")/common.sh"

jobs=1000
build="$QV_ROOT/build"
while [ $# -gt 0 ]; do
  case "$1" in
    --jobs) jobs="$2"; shift 2 ;;
    --build) build="$(cd "$2" && pwd)"; shift 2 ;;
    *) echo "usage: scripts/soak.sh [--jobs N] [--build DIR]" >&2; exit 2 ;;
  esac
done
cli="$build/tools/cli/quorvane-cli"
sim="$build/tools/sim/quorvane-sim"
for program in "$cli" "$sim"; do
  [ -x "$program" ] || { echo "soak: $program is not built" >&2; exit 1; }
done

work="$(mktemp -d)"
sim_pid=""
station_pid=""
cleanup() {
  [ -n "$station_pid" ] && kill "$station_pid" 2>/dev/null || true
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work/station/plot" "$work/jobs"
"$sim" --address 127.0.0.1 --port 0 --pace 0 --confirm-after 0 --out "$work/jobs" >"$work/sim.log" 2>&1 &
sim_pid=$!
address=""
for _ in $(seq 100); do
  address="$(sed -n 's/^listening on //p' "$work/sim.log")"
  [ -n "$address" ] && break
  sleep 0.1
done
[ -n "$address" ] || { cat "$work/sim.log" >&2; exit 1; }

printf '[Para]\nAutoStartWork=1\nRepeatCut=1\nAutoDelFinish=0\n' >"$work/station/setting.ini"
"$cli" station --dir "$work/station/" --net "$address" >"$work/station.log" 2>&1 &
station_pid=$!
for _ in $(seq 300); do
  grep -q '^running' "$work/station.log" && break
  sleep 0.1
done
cp "$QV_ROOT/resources/TestPlt/10x10_HC_FC.plt" "$work/station/plot/"

# Resident memory in kB and open descriptors of the station.
rss() { sed -n 's/^VmRSS:[[:space:]]*\([0-9]*\) kB/\1/p' "/proc/$station_pid/status"; }
# A job holds its connection open while it runs: the fewest descriptors over a second of jobs coming and going.
fds() {
  local least=100000 n
  for _ in $(seq 10); do
    n=$(ls "/proc/$station_pid/fd" | wc -l)
    [ "$n" -lt "$least" ] && least=$n
    sleep 0.1
  done
  echo "$least"
}
done_jobs() { find "$work/jobs" -name summary.json | wc -l; }

started=$(date +%s)
rss10="" fds10=""
while :; do
  n=$(done_jobs)
  if [ -z "$rss10" ] && [ "$n" -ge 10 ]; then
    rss10=$(rss) fds10=$(fds)
  fi
  [ "$n" -ge "$jobs" ] && break
  if ! kill -0 "$station_pid" 2>/dev/null; then
    echo "soak: the station ended after $n jobs" >&2
    tail -20 "$work/station.log" >&2
    exit 1
  fi
  # A job takes well under a second; a station that stops outputting is stuck.
  if [ $(( $(date +%s) - started )) -gt $(( 30 + jobs * 3 )) ]; then
    echo "soak: only $n of $jobs jobs after $(( $(date +%s) - started )) s" >&2
    exit 1
  fi
  sleep 0.2
done
rssN=$(rss) fdsN=$(fds)
seconds=$(( $(date +%s) - started ))

kill -TERM "$station_pid"
status=0
wait "$station_pid" || status=$?
station_pid=""
if [ "$status" -ne 0 ] || ! grep -q '^closed' "$work/station.log"; then
  echo "soak: the station did not close cleanly (exit status $status)" >&2
  tail -40 "$work/station.log" >&2
  exit 1
fi

failed=$(grep -L '"ok": true' $(find "$work/jobs" -name summary.json) | wc -l)
echo "soak: $jobs jobs in $seconds s; failed jobs: $failed"
echo "soak: station resident memory at job 10: $rss10 kB, at job $jobs: $rssN kB"
echo "soak: station open descriptors at job 10: $fds10, at job $jobs: $fdsN"
[ "$failed" -eq 0 ] || { echo "soak: jobs the machine found wrong" >&2; exit 1; }
[ "$fdsN" -le "$fds10" ] || { echo "soak: descriptors leak" >&2; exit 1; }
if grep -q '^QV_SANITIZE:BOOL=ON' "$build/CMakeCache.txt" 2>/dev/null; then
  echo "soak: passed (sanitized build: memory left to LeakSanitizer)"
  exit 0
fi
# Flat: the allocator may keep a little more once every path has run, never a share per job.
[ "$rssN" -le $(( rss10 + rss10 / 10 + 2048 )) ] || { echo "soak: resident memory grows" >&2; exit 1; }
echo "soak: passed"
