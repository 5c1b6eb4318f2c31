#!/usr/bin/env bash
# Checks that a fresh machine gets everything the build found: every Debian package owning a
# CMake package configuration in the build's cache must be in the dependency closure, without
# recommends, of scripts/packages.list. A package that is only recommended is installed on a
# developer's machine but missing on a fresh one, where configuring then fails.
# Usage: scripts/check-setup.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
cache="${1:-build}/CMakeCache.txt"
[ -f "$cache" ] || { echo "check-setup: no $cache; configure first" >&2; exit 2; }

mapfile -t listed < <(grep -v '^\s*\(#\|$\)' scripts/packages.list)
closure=$(apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts \
            --no-breaks --no-replaces --no-enhances "${listed[@]}" 2>/dev/null |
          grep -v '^ ' | sed 's/:.*//' | sort -u)

status=0
while IFS='=' read -r name dir; do
  # The package's own configuration file: <Name>Config.cmake or <name>-config.cmake.
  lower=$(tr '[:upper:]' '[:lower:]' <<<"$name")
  config=""
  for candidate in "$dir/${name}Config.cmake" "$dir/${lower}-config.cmake"; do
    [ -f "$candidate" ] && config=$candidate && break
  done
  [ -n "$config" ] || continue
  owner=$(dpkg -S "$config" 2>/dev/null | head -n 1 | cut -d: -f1) || true
  if [ -z "$owner" ]; then
    echo "check-setup: $config belongs to no Debian package" >&2
    status=1
  elif ! grep -qx "$owner" <<<"$closure"; then
    echo "check-setup: $owner (for $config) is not installed by scripts/packages.list" >&2
    status=1
  fi
done < <(sed -n 's/^\([A-Za-z0-9_]*\)_DIR:PATH=\(\/.*\)$/\1=\2/p' "$cache" | sort -u)
[ $status -eq 0 ] && echo "check-setup: every CMake package the build found is installed by the set-up"
exit $status
