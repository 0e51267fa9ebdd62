#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and UBSan on) in a
# build folder of their own and runs each for a bounded time as a CTest.
# Usage: scripts/fuzz.sh [seconds per target, default 20]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
build=${VMC_FUZZ_BUILD_DIR:-build-fuzz}
seconds=${1:-${VMC_FUZZ_SECONDS:-20}}
CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVMC_FUZZ=ON -DVMC_ASAN=ON -DVMC_FUZZ_SECONDS="$seconds" >/dev/null
cmake --build "$build" --target fuzz -j"$(nproc)"
# A finding leaves its input in $build/tests/fuzz/artifacts; replay it with
# $build/tests/fuzz/<target> <file>.
# All targets at once: each runs for its seconds, whatever share of the CPU it gets.
ctest --test-dir "$build" -L fuzz --output-on-failure -j"$(ctest --test-dir "$build" -L fuzz -N | grep -c 'Test *#')"
