#!/usr/bin/env bash
# Brings resources/i18n/window_en.ts up to date with the tr() texts of the window's own widgets (the main frame,
# the views, the application parts), keeping the English already written. The widgets live in namespace
# qv::ui, which lupdate 6.4 does not see in a nested namespace definition: the file's contexts are given the
# names lupdate uses while it runs, so it finds the English written for them, and the namespace afterwards.
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$QV_ROOT/src/ui"
sed -i -E 's#<name>qv::ui::(C[A-Za-z]+)</name>#<name>\1</name>#' "$QV_ROOT/resources/i18n/window_en.ts"
/usr/lib/qt6/bin/lupdate -silent -no-obsolete -locations none -target-language en \
  mainframe views app -ts "$QV_ROOT/resources/i18n/window_en.ts"
sed -i -E 's#<name>(qv::ui::)?(C[A-Za-z]+)</name>#<name>qv::ui::\2</name>#' "$QV_ROOT/resources/i18n/window_en.ts"
echo "resources/i18n/window_en.ts: $(grep -c 'type="unfinished"' "$QV_ROOT/resources/i18n/window_en.ts" || true) texts without English"
