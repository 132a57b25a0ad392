#!/usr/bin/env bash
# Builds the Debian package (cpack -G DEB, dependencies from dpkg-shlibdeps), unpacks it into a temporary root
# with dpkg-deb -x and runs the unpacked programs there: the CLI imports a test drawing the package carries and
# outputs it to the unpacked virtual machine over 127.0.0.1, which must write its printed PNG and cut SVG.
#   scripts/package-check.sh [--build DIR]     default build/
set -euo pipefail
source "$(dirname "$0")/common.sh"

build_dir="$QV_ROOT/build"
if [ "${1:-}" = "--build" ]; then
  build_dir="$2"
fi

qv_install_packages
qv_build "$build_dir" >/dev/null
(cd "$build_dir" && cpack -G DEB >/dev/null)
deb="$(ls -t "$build_dir"/quorvane_*.deb | head -n 1)"
echo "package: $deb"
# Read once: a grep -q that leaves early would kill dpkg-deb by SIGPIPE, which pipefail counts as a failure.
depends="$(dpkg-deb --field "$deb" Depends)"
echo "Depends: $depends"
[[ "$depends" == *libusb-1.0* ]] || { echo "the package does not depend on libusb" >&2; exit 1; }

root="$(mktemp -d)"
sim_pid=""
cleanup() {
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
  rm -rf "$root"
}
trap cleanup EXIT
dpkg-deb -x "$deb" "$root/fs"
cli="$root/fs/usr/bin/quorvane-cli"
sim="$root/fs/usr/bin/quorvane-sim"
for f in "$cli" "$sim" "$root/fs/usr/lib/quorvane/TestPlt/10x10.plt" "$root/fs/usr/lib/quorvane/fon_hz.bin" \
  "$root/fs/usr/lib/udev/rules.d/60-quorvane.rules" "$root/fs/usr/lib/systemd/user/quorvane-station.service" \
  "$root/fs/usr/share/man/man1/quorvane-cli.1.gz"; do
  [ -e "$f" ] || { echo "missing in the package: ${f#"$root/fs"}" >&2; exit 1; }
done
"$cli" --version
"$sim" --version

mkdir -p "$root/work"
"$sim" --address 127.0.0.1 --port 0 --params "$root/work/params.bin" --out "$root/work/jobs" --confirm-after 200 \
  >"$root/work/sim.log" 2>&1 &
sim_pid=$!
address=""
for _ in $(seq 100); do
  address="$(sed -n 's/^listening on //p' "$root/work/sim.log")"
  [ -n "$address" ] && break
  sleep 0.1
done
[ -n "$address" ] || { cat "$root/work/sim.log" >&2; exit 1; }

"$cli" import "$root/fs/usr/lib/quorvane/TestPlt/10x10.plt" -o "$root/work/10x10.ctask"
"$cli" send "$root/work/10x10.ctask" --net "$address" --page 1
for f in print.png cut.svg summary.json; do
  [ -s "$root/work/jobs/job-0001/$f" ] || { echo "the virtual machine wrote no $f" >&2; exit 1; }
done
grep -q '"ok": true' "$root/work/jobs/job-0001/summary.json" || { cat "$root/work/jobs/job-0001/summary.json" >&2; exit 1; }
echo "package check passed: the unpacked programs output 10x10.plt to the unpacked virtual machine"
