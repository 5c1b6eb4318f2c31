#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program on the demo project.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
first=$(ls build/bin/demo/zq*.xml | head -n 1)
exec build/bin/ostiva "$first"
