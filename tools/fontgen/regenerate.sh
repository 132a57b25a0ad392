#!/usr/bin/env bash
# Regenerates resources/fonts/fon_en.bin and fon_hz.bin from the source fonts (see README, "Stroke fonts").
# Installs the generator's packages, builds it into build-fontgen/ and runs it.
set -euo pipefail
source "$(dirname "$0")/../../scripts/common.sh"

QV_PACKAGES=(cmake ninja-build g++ pkg-config libfreetype-dev hershey-fonts-data fonts-wqy-microhei)
qv_install_packages
cmake -S "$QV_ROOT" -B "$QV_ROOT/build-fontgen" -G Ninja -DQV_BUILD_FONTGEN=ON -DQV_BUILD_TESTS=OFF -DQV_BUILD_BENCH=OFF
cmake --build "$QV_ROOT/build-fontgen" --parallel "${QV_JOBS:-$(nproc)}" --target quorvane-fontgen
mkdir -p "$QV_ROOT/resources/fonts"
"$QV_ROOT/build-fontgen/tools/fontgen/quorvane-fontgen" "$QV_ROOT/resources/fonts" "$@"
