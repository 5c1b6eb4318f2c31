#!/usr/bin/env bash
# Builds and takes the README's screenshots from the real program under a virtual X server.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
# A demo weld that fails its speed's norm, so the red quality index shows too.
first=build/bin/demo/zq260113_1021.xml
[ -f "$first" ] || first=$(ls build/bin/demo/zq*.xml | head -n 1)
xvfb-run -a -s "-screen 0 1600x1000x24" build/bin/ostiva-screenshots docs/screenshots "$first" \
  0:main-window-top-meas 1:top-norm 2:top-corrugation 6:top-corrugation-1 4:zij-meas \
  compare:build/bin/demo/zq260113_1004.xml:comparison search:search-dialog
