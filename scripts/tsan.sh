#!/usr/bin/env bash
# Builds the program and every test with ThreadSanitizer (build-tsan) and runs
# the suite; scripts/test.sh calls it. Reports whose synchronisation happens
# inside the uninstrumented libraries are suppressed in tests/support/tsan.supp.
# Usage: scripts/tsan.sh
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
build=${VMC_TSAN_BUILD_DIR:-build-tsan}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVMC_TSAN=ON \
  -DCMAKE_UNITY_BUILD=ON -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" >/dev/null
cmake --build "$build" -j"$(nproc)"
# die_after_fork=0: QProcess forks and at once executes the child program.
# A slowed-down MIDI client needs JACK cycles longer than the default.
VMC_JACK_PERIOD=4096 \
TSAN_OPTIONS="halt_on_error=0:die_after_fork=0:suppressions=$PWD/tests/support/tsan.supp" \
  ctest --test-dir "$build" --output-on-failure -j"$(nproc)" --timeout 600
