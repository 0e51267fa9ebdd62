#!/usr/bin/env bash
# Installs the Debian 12 packages the program, its tools and its tests need.
# Safe to run again: it does nothing (and prints nothing) when all is there.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-serialport-dev libqt6serialport6
  librtmidi-dev libasound2-dev libjack-jackd2-dev jackd2
  libgtest-dev libgmock-dev
  xvfb xauth x11-apps x11-utils imagemagick xdotool
  fonts-liberation fonts-dejavu-core
  python3 time
  libhamlib-utils libhamlib-dev
  clang libclang-rt-14-dev
  librsvg2-bin dpkg-dev desktop-file-utils appstream
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "Installing: ${missing[*]}"
# jackd2 asks about realtime priority; the answer does not matter for the dummy driver.
echo "jackd2 jackd/tweak_rt_limits boolean false" | $SUDO debconf-set-selections
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
