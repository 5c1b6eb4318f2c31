#!/usr/bin/env bash
# Builds and takes the README's and the manuals' screenshots from the real program under a
# virtual X server. "--manuals" takes only the manuals' (one set per language, each showing the
# program in that language); "--readme" only the README's.
set -euo pipefail
cd "$(dirname "$0")/.."
which=${1:-all}
if [ "${SKIP_BUILD:-0}" != 1 ]; then
  scripts/setup.sh
  scripts/build.sh
fi
# A demo weld that fails its speed's norm, so the red quality index shows too, and whose Top_Norm
# curve rises above the kind's fixed range, so the readout's shot shows a mark of its peak.
first=build/bin/demo/zq260113_1021.xml
[ -f "$first" ] || first=$(ls build/bin/demo/zq*.xml | head -n 1)
second=build/bin/demo/zq260113_1004.xml
# The window's caption names the project folder: a user's folder, not the build's.
project=/tmp/ostiva-screenshots/projects/haverdam
rm -rf "$project" && mkdir -p "$project" && cp build/bin/demo/zq*.xml "$project"
first=$project/$(basename "$first")
second=$project/$(basename "$second")

if [ "$which" != --manuals ]; then
  xvfb-run -a -s "-screen 0 1600x1000x24" build/bin/ostiva-screenshots docs/screenshots "$first" \
    0:main-window-top-meas 1:top-norm 2:top-corrugation 6:top-corrugation-1 4:zij-meas \
    compare:$second:comparison search:search-dialog summary:summary readout:1:15:readout
fi
if [ "$which" != --readme ]; then
  command -v openbox >/dev/null || {
    echo "screenshots.sh: the manuals' shots need a window manager: apt-get install openbox" >&2
    exit 1
  }
  # A window manager draws the frames, so the shots show the title bar with the program's icon.
  for code in EN NL DE ES FR; do
    xvfb-run -a -s "-screen 0 1600x1000x24" sh -c '
      openbox & wm=$!
      sleep 1
      build/bin/ostiva-screenshots --language "$0" "docs/manuals/images/$0" "$1" \
        0:main-window-top-meas 1:top-norm 6:top-corrugation-1 \
        compare:"$2":comparison search:search-dialog summary:summary readout:1:15:readout
      status=$?
      kill $wm
      exit $status' "$code" "$first" "$second"
  done
fi
