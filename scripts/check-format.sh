#!/usr/bin/env bash
# Fails when a C++ file of the repository differs from what clang-format makes of it (.clang-format).
# Every file was formatted once, so this checks each changed file and passes the unchanged ones.
#   scripts/check-format.sh          check
#   scripts/check-format.sh --fix    rewrite the files instead
set -euo pipefail
source "$(dirname "$0")/common.sh"
qv_install_packages clang-format
cd "$QV_ROOT"
mapfile -t files < <(git ls-files --cached --others --exclude-standard '*.cpp' '*.h')
if [ "${1:-}" = "--fix" ]; then
  clang-format -i "${files[@]}"
  exit 0
fi
clang-format --dry-run --Werror "${files[@]}"
echo "Format: ${#files[@]} files as .clang-format has them"
