#!/usr/bin/env bash
# Renders the control panel, the machine settings dialog and the import report dialog, in Chinese and in English,
# into docs/images/.
# Usage: scripts/panel-screenshots.sh [BUILD_DIR]   (default: build; it must be configured with the window)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build}"
cmake --build "$build" --target quorvane-panel-shots
out="$root/docs/images"
mkdir -p "$out"
qm="$(mktemp --suffix=.qm)"
trap 'rm -f "$qm"' EXIT
lrelease="$(command -v lrelease || echo /usr/lib/qt6/bin/lrelease)"
"$lrelease" -silent "$root/resources/i18n/dialogs_en.ts" -qm "$qm"
shots="$build/tests/ui/panel/quorvane-panel-shots"
QT_QPA_PLATFORM=offscreen "$shots" "$out" 0
QT_QPA_PLATFORM=offscreen "$shots" "$out" 1 "$qm"
