#!/usr/bin/env bash
# Builds Vorn-MIDI Connector for 64-bit Windows on a Debian 12 machine and
# checks it under Wine. Installs what it needs, builds the Windows libraries
# once into a cache (scripts/windows/toolchain.sh: about an hour the first
# time), cross-builds the program and its tests with MinGW-w64, makes the
# installer and a zip (scripts/windows/package.sh), and checks both under
# Wine (scripts/windows/check.sh).
# Usage: scripts/build-windows.sh [--no-toolchain] [--screenshot FILE]
#   --no-toolchain  build no toolchain: without a cache that today's recipe
#                   made, say so and end with status 3 (the test command's way)
# Output: build-win64/dist/vorn-midi-connector-<version>-win64-setup.exe and .zip
set -euo pipefail
cd "$(dirname "$0")/.."
build_toolchain=true
screenshot=
while [ $# -gt 0 ]; do
  case $1 in
    --no-toolchain) build_toolchain=false ;;
    --screenshot) screenshot=$(realpath -m "$2"); shift ;;
    *) echo "build-windows.sh: unknown option $1" >&2; exit 2 ;;
  esac
  shift
done
start=$SECONDS
export VMC_WIN64_CACHE=${VMC_WIN64_CACHE:-$HOME/.cache/vorn-midi-connector-win64}
build=${VMC_WIN64_BUILD_DIR:-build-win64}
linux_build=${VMC_BUILD_DIR:-build}

scripts/setup.sh
packages=(g++-mingw-w64-x86-64-posix mingw-w64-tools nsis wine wine64 ninja-build xvfb xdotool imagemagick zip dpkg-dev ccache)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

if ! scripts/windows/toolchain.sh --check 2>/dev/null; then
  if ! $build_toolchain; then
    echo "The Windows toolchain is not built (it takes about an hour, once): run bash scripts/build-windows.sh" >&2
    exit 3
  fi
  # Debian's sources of Qt, RtMidi and GoogleTest come through apt-get source.
  if ! apt-get source --print-uris -qq qt6-base >/dev/null 2>&1; then
    printf 'Types: deb-src\nURIs: http://deb.debian.org/debian\nSuites: bookworm\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' |
      $SUDO tee /etc/apt/sources.list.d/vorn-midi-connector-deb-src.sources >/dev/null
    $SUDO apt-get update -qq
  fi
  scripts/windows/toolchain.sh
fi
prefix=$VMC_WIN64_CACHE/prefix

# The radio simulator of the Linux desk, which the Windows line is checked against.
cmake -S . -B "$linux_build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_UNITY_BUILD=ON >/dev/null
cmake --build "$linux_build" --target vmc-radiosim -j"$(nproc)" >/dev/null
radiosim=$(realpath "$linux_build/tools/radiosim/vmc-radiosim")

# ccache keeps what was compiled across build folders and clones (paths
# taken relative to the source folder), so a fresh clone's Windows stage
# compiles only what changed.
export CCACHE_BASEDIR=$PWD CCACHE_DIR=${CCACHE_DIR:-$HOME/.cache/ccache} CCACHE_NOHASHDIR=1
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_UNITY_BUILD=OFF \
  -DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache \
  -DCMAKE_TOOLCHAIN_FILE=scripts/windows/mingw-w64.cmake -DVMC_WIN64_PREFIX="$prefix" \
  -DCMAKE_CXX_FLAGS="-isystem $prefix/include" \
  -DCMAKE_CROSSCOMPILING_EMULATOR="$PWD/scripts/windows/wine-run.sh" \
  -DVMC_LINUX_RADIOSIM="$radiosim" >/dev/null
cmake --build "$build" -j"$(nproc)"
built=$SECONDS
scripts/windows/package.sh "$build"
scripts/windows/check.sh "$build" "$radiosim" ${screenshot:+"$screenshot"}
echo "Windows build: $(( (built - start) / 60 )) min $(( (built - start) % 60 )) s to build," \
     "$(( (SECONDS - built) / 60 )) min $(( (SECONDS - built) % 60 )) s to package and check."
