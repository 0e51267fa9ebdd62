#!/usr/bin/env bash
# Installs what is missing, builds the program with its radio simulator and
# virtual control surface, and starts the demo (scripts/demo.sh). Without a
# display it runs the demo on a virtual one and saves a screenshot instead.
# Usage: scripts/run.sh [options of scripts/demo.sh]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
build=${VMC_BUILD_DIR:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=${VMC_BUILD_TYPE:-RelWithDebInfo} >/dev/null
cmake --build "$build" --target vorn-midi-connector vmc-radiosim vmc-vsurface -j"$(nproc)"
export VMC_BUILD_DIR=$PWD/$build
[[ "$build" = /* ]] && VMC_BUILD_DIR=$build

if [ -n "${DISPLAY:-}" ]; then
  exec scripts/demo.sh "$@"
fi
echo "No display: running the demo on a virtual screen and saving a screenshot."
xvfb-run -a -s "-noreset -screen 0 1400x800x24" scripts/demo.sh --screenshot screenshots/demo.png "$@"
