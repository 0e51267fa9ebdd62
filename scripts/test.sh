#!/usr/bin/env bash
# Builds the program, its tools and every test, then runs all tests with CTest.
# Usage: scripts/test.sh [extra cmake arguments], e.g. -DVMC_ASAN=ON
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
build=${VMC_BUILD_DIR:-build}
# Product libraries and tools as unity builds: each compiles in one go (the
# test programs are compiled file by file, see tests/CMakeLists.txt).
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=${VMC_BUILD_TYPE:-RelWithDebInfo} -DCMAKE_UNITY_BUILD=ON "$@" >/dev/null
cmake --build "$build" -j"$(nproc)"
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" --timeout 300
# The Debian packages of that build, installed into a temporary root and checked.
scripts/package_test.sh "$build"

# The same suite again under AddressSanitizer and UndefinedBehaviorSanitizer.
# Every report fails the test that caused it; reports from libraries the
# program does not own are suppressed in tests/support/lsan.supp and ubsan.supp.
# Sanitizer builds are compiled as unity builds with light optimisation and
# line tables only: they exist to run the suite, and compile in half the time.
asan_build=${VMC_ASAN_BUILD_DIR:-build-asan}
cmake -S . -B "$asan_build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVMC_ASAN=ON \
  -DCMAKE_UNITY_BUILD=ON -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" >/dev/null
cmake --build "$asan_build" -j"$(nproc)"
ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:abort_on_error=0 \
LSAN_OPTIONS="suppressions=$PWD/tests/support/lsan.supp:print_suppressions=0" \
UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:suppressions=$PWD/tests/support/ubsan.supp" \
  ctest --test-dir "$asan_build" --output-on-failure -j"$(nproc)" --timeout 600

# The same suite under ThreadSanitizer (the MIDI callback thread, Qt's
# network and X threads).
scripts/tsan.sh

# The fuzz targets, built with clang in their own folder.
scripts/fuzz.sh

# The Windows build, cross-compiled and checked under Wine, once its toolchain
# is there: building the toolchain takes about an hour and is never done
# here (bash scripts/build-windows.sh does it once).
if scripts/windows/toolchain.sh --check 2>/dev/null; then
  scripts/build-windows.sh --no-toolchain
else
  echo "Windows stage skipped: no Windows toolchain yet; bash scripts/build-windows.sh builds it once (about an hour)."
fi
