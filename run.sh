#!/usr/bin/env bash
# Installs what is missing, builds into build/ and runs the output centre in build/station/: the window
# (quorvane) when there is a display, otherwise quorvane-cli station; on the machine when one is plugged in over
# USB, otherwise on the virtual machine (quorvane-sim on 127.0.0.1), which is stopped again when the program ends.
#   ./run.sh                  as above
#   ./run.sh --sim            always the virtual machine
#   ./run.sh --headless       the station even with a display (Ctrl-C closes it)
set -euo pipefail
source "$(dirname "$0")/scripts/common.sh"

qv_install_packages
# Only the two programs, in the build directory test.sh uses, leaving its options as they are.
cmake -S "$QV_ROOT" -B "$QV_ROOT/build" -G Ninja >/dev/null
targets=(quorvane-cli quorvane-sim)
window="$QV_ROOT/build/tools/window/quorvane"
use_sim=0 headless=0
for word in "$@"; do
  case "$word" in
    --sim) use_sim=1 ;;
    --headless) headless=1 ;;
    *) echo "usage: ./run.sh [--sim] [--headless]" >&2; exit 2 ;;
  esac
done
if [ "$headless" = 0 ] && { [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; }; then
  targets+=(quorvane quorvane_en quorvane_manuals)
else
  headless=1
fi
cmake --build "$QV_ROOT/build" --parallel "${QV_JOBS:-$(nproc)}" --target "${targets[@]}" >/dev/null

cli="$QV_ROOT/build/tools/cli/quorvane-cli"
sim="$QV_ROOT/build/tools/sim/quorvane-sim"
station_dir="$QV_ROOT/build/station"
sim_dir="$QV_ROOT/build/sim"
mkdir -p "$station_dir" "$sim_dir"
# The output centre on the channel given: the window, or the station without one.
centre() {
  if [ "$headless" = 0 ]; then
    "$window" --dir "$station_dir" "$@"
  else
    "$cli" station --dir "$station_dir/" "$@"
  fi
}

# A first run: dropped drawings start by themselves (without a window nobody presses Start), and the link is
# Ethernet to 127.0.0.1 (127 + 256*0 + 65536*0 + 16777216*1), where the virtual machine listens; with a real
# machine the operator changes the connection in the menu.
if [ ! -e "$station_dir/setting.ini" ]; then
  printf '[Para]\nAutoStartWork=1\nConnectViaNet=1\nMachineIP=16777343\n' >"$station_dir/setting.ini"
  echo "Wrote $station_dir/setting.ini: the Ethernet link to the virtual machine on 127.0.0.1."
fi

# The machine: USB vendor 0xA728, product 0x0709.
machine_attached() {
  local d
  for d in /sys/bus/usb/devices/*; do
    if [ -r "$d/idVendor" ] && [ "$(cat "$d/idVendor")" = "a728" ] && [ "$(cat "$d/idProduct" 2>/dev/null)" = "0709" ]; then
      return 0
    fi
  done
  return 1
}

if [ "$use_sim" = 0 ] && machine_attached; then
  echo "The machine is plugged in over USB."
  echo "Drop .plt files into the data directory ($station_dir/plot/ unless set otherwise)."
  centre --usb
  exit
fi

# The machine's own port when it is free, else any free one.
port=5169
if (exec 3<>/dev/tcp/127.0.0.1/$port) 2>/dev/null; then
  port=0
fi
sim_log="$sim_dir/quorvane-sim.log"
"$sim" --address 127.0.0.1 --port "$port" --params "$sim_dir/params.bin" --out "$sim_dir/jobs" \
  --confirm-after 1000 >"$sim_log" 2>&1 &
sim_pid=$!
trap 'kill "$sim_pid" 2>/dev/null; wait "$sim_pid" 2>/dev/null || true' EXIT

address=""
for _ in $(seq 100); do
  address="$(sed -n 's/^listening on //p' "$sim_log")"
  [ -n "$address" ] && break
  if ! kill -0 "$sim_pid" 2>/dev/null; then
    cat "$sim_log" >&2
    exit 1
  fi
  sleep 0.1
done
if [ -z "$address" ]; then
  echo "the virtual machine did not start; see $sim_log" >&2
  exit 1
fi

echo "No machine on USB: the virtual machine listens on $address (log: $sim_log)."
echo "It confirms each job that waits for the confirm key after a second, and writes what it printed and cut"
echo "to $sim_dir/jobs/job-NNNN/ (print.png, cut.svg, summary.json)."
echo "Drop .plt files into the data directory ($station_dir/plot/ unless set otherwise), or add them in the window."
centre --net "$address"
