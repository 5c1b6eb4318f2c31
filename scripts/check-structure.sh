#!/usr/bin/env bash
# Checks the include structure of src/: the core includes nothing of the program, chart and
# common include no window, a window folder includes only common, chart, project and itself,
# and only the main window's shell reaches every folder. Prints each include that breaks a rule; exits 1 when there is one.
set -euo pipefail
cd "$(dirname "$0")/.."

allowed() { # folder of the including file -> allowed include prefixes
  case "$1" in
    core) echo "core/" ;;
    cli) echo "core/ cli/ testdata/ app/report/ app/chart/ app/common/" ;; # also generates test profiles and prints reports
    app/common) echo "core/ app/common/" ;;
    app/chart) echo "core/ app/common/ app/chart/" ;;
    app) echo "core/ app/" ;; # the entry point
    app/shell) echo "core/ app/" ;; # the main window owns every command of every window
    app/summary) echo "core/ app/common/ app/chart/ app/project/ app/report/ app/summary/" ;; # prints through the report's preview
    app/*) echo "core/ app/common/ app/chart/ app/project/ $1/" ;;
    *) echo "" ;;
  esac
}

status=0
while IFS= read -r line; do
  file=${line%%:*}
  include=$(sed -n 's/.*#include "\([^"]*\)".*/\1/p' <<<"$line")
  folder=$(dirname "${file#src/}")
  ok=0
  for prefix in $(allowed "$folder"); do
    [[ $include == "$prefix"* ]] && ok=1
  done
  if [ $ok -eq 0 ]; then
    echo "check-structure: $file includes \"$include\"" >&2
    status=1
  fi
done < <(grep -rn '#include "' src)
[ $status -eq 0 ] && echo "check-structure: the includes of src/ keep the layering"
exit $status
