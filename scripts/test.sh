#!/usr/bin/env bash
# Builds the program, its tools and every test, then runs all tests with CTest.
# Usage: scripts/test.sh [extra cmake arguments], e.g. -DVMC_ASAN=ON
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
build=${VMC_BUILD_DIR:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=${VMC_BUILD_TYPE:-RelWithDebInfo} "$@" >/dev/null
cmake --build "$build" -j"$(nproc)"
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" --timeout 300
