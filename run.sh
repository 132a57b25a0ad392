#!/usr/bin/env bash
# Installs what is missing, builds into build/ and runs the program.
set -euo pipefail
source "$(dirname "$0")/scripts/common.sh"

qv_install_packages
qv_build "$QV_ROOT/build" -DQV_BUILD_TESTS=OFF -DQV_BUILD_BENCH=OFF >/dev/null
exec "$QV_ROOT/build/tools/cli/quorvane-cli" settings --dir "$QV_ROOT/build/" "$@"
