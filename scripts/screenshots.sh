#!/usr/bin/env bash
# Pictures of the real window for the documentation: the program under Xvfb with a test drawing of
# resources/TestPlt, once as it opens and once with the job preview, written to docs/images/.
#   scripts/screenshots.sh [--build DIR]     the programs of DIR (default build/)
set -euo pipefail
source "$(dirname "$0")/common.sh"

build="$QV_ROOT/build"
while [ $# -gt 0 ]; do
  case "$1" in
    --build) build="$(cd "$2" && pwd)"; shift 2 ;;
    *) echo "usage: scripts/screenshots.sh [--build DIR]" >&2; exit 2 ;;
  esac
done
window="$build/tools/window/quorvane"
cli="$build/tools/cli/quorvane-cli"
for program in "$window" "$cli"; do
  [ -x "$program" ] || { echo "screenshots: $program is not built" >&2; exit 1; }
done

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
out="$QV_ROOT/docs/images"
mkdir -p "$out" "$work/station" "$work/runtime"
"$cli" import "$QV_ROOT/resources/TestPlt/30x30_HC_FC.plt" "$QV_ROOT/resources/TestPlt/50x50.plt" \
  -o "$work/demo.ctask" >/dev/null

shoot() {
  local name="$1"
  shift
  rm -f "$work/station/lastv901.ctask"
  xvfb-run -a -s "-screen 0 1280x800x24" "$window" --dir "$work/station" --instance-dir "$work/runtime" \
    --screenshot "$out/$name" "$@" "$work/demo.ctask" >/dev/null 2>"$work/$name.log" ||
    { cat "$work/$name.log" >&2; exit 1; }
  [ -s "$out/$name" ] || { cat "$work/$name.log" >&2; exit 1; }
  echo "$out/$name"
}
shoot window.png
shoot job-preview.png --job-preview
