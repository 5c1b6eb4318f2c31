#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the screenshots need; skips what is there.
set -euo pipefail
packages=(g++ cmake make qt6-base-dev qt6-charts-dev libgl-dev libpugixml-dev libgtest-dev
          libbenchmark-dev xvfb xauth imagemagick poppler-utils clang-format locales)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -q || true
  "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
