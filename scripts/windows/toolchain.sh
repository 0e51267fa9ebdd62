#!/usr/bin/env bash
# Builds the Windows libraries the program links (Qt, RtMidi, GoogleTest,
# Hamlib) with MinGW-w64 into a cache folder, once. Each library's recipe
# (its function below and the toolchain file) is stamped beside it; a changed
# recipe builds that library again, an unchanged one is left alone.
# Usage: scripts/windows/toolchain.sh [--check]
# The cache is VMC_WIN64_CACHE, by default ~/.cache/vorn-midi-connector-win64.
# The first run takes about an hour on two cores; later runs a second.
# --check builds nothing: status 0 when every library is there and built by
# today's recipe, 1 otherwise.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
check_only=false
[ "${1:-}" = --check ] && check_only=true
cache=${VMC_WIN64_CACHE:-$HOME/.cache/vorn-midi-connector-win64}
prefix=$cache/prefix
work=$cache/work
toolchain=$here/mingw-w64.cmake
third_party=${VMC_THIRD_PARTY:-$repo/../shared/third-party}
jobs=${VMC_WIN64_JOBS:-$(nproc)}
$check_only || mkdir -p "$prefix" "$work" "$cache/stamps" "$cache/sources"
export VMC_WIN64_PREFIX=$prefix

cross_cmake() {
  cmake -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DVMC_WIN64_PREFIX="$prefix" \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release "$@"
}

# Debian's own source package, unpacked with its patches into $work/$1.
debian_source() {
  local package=$1
  rm -rf "${work:?}/$package"
  mkdir -p "$work/$package"
  (cd "$cache/sources" && apt-get source --download-only -qq "$package" >/dev/null 2>&1 ||
     apt-get source --download-only "$package" >/dev/null)
  local dsc
  dsc=$(ls -t "$cache/sources/${package}"_*.dsc | head -1)
  dpkg-source -x "$dsc" "$work/$package/src" >/dev/null
}

# Each step joined by &&: with_stamp calls these in a condition, where bash
# does not stop at a failing command by itself.
build_rtmidi() {
  debian_source rtmidi &&
  cross_cmake -S "$work/rtmidi/src" -B "$work/rtmidi/build" -DBUILD_SHARED_LIBS=ON \
    -DRTMIDI_API_WINMM=ON -DRTMIDI_API_JACK=OFF -DRTMIDI_API_ALSA=OFF -DRTMIDI_BUILD_TESTING=OFF &&
  cmake --build "$work/rtmidi/build" -j"$jobs" &&
  cmake --install "$work/rtmidi/build"
}

build_googletest() {
  debian_source googletest &&
  cross_cmake -S "$work/googletest/src" -B "$work/googletest/build" -DBUILD_SHARED_LIBS=OFF \
    -DINSTALL_GTEST=ON -DBUILD_GMOCK=ON &&
  cmake --build "$work/googletest/build" -j"$jobs" &&
  cmake --install "$work/googletest/build"
}

build_hamlib() {
  local tarball=$third_party/hamlib_4.6.5.orig.tar.gz src
  [ -f "$tarball" ] || { echo "Hamlib's source is not at $tarball (set VMC_THIRD_PARTY)." >&2; exit 1; }
  (cd "$third_party" && sha256sum -c --ignore-missing --quiet SHA256SUMS) &&
  rm -rf "${work:?}/hamlib" &&
  mkdir -p "$work/hamlib" &&
  tar -xzf "$tarball" -C "$work/hamlib" &&
  src=$(ls -d "$work"/hamlib/hamlib-*) &&
  (cd "$src" &&
     ./configure -q --host=x86_64-w64-mingw32 --prefix="$prefix" \
       CC=x86_64-w64-mingw32-gcc-posix CXX=x86_64-w64-mingw32-g++-posix \
       --enable-shared --disable-static --without-libusb --without-readline \
       --without-cxx-binding --disable-winradio --without-indi --without-xml-support \
       PKG_CONFIG_LIBDIR="$prefix/lib/pkgconfig" &&
     make -s -j"$jobs" && make -s install)
}

# Qt's base module: Core, Gui, Widgets, Network (TLS through Schannel) and
# Test, with the windows platform and style plugins; the host tools (moc, rcc,
# uic) are Debian's own Qt 6.4.2. Qt 6.4.2's windows plugin uses two features
# without the ones they need here: "dynamicgl" (on without OpenGL) and the
# DirectWrite font database (which Gui builds only with Direct2D); those uses
# are made to ask for what they need.
build_qt() {
  local windows=$work/qt6-base/src/src/plugins/platforms/windows
  debian_source qt6-base &&
  sed -i 's/^#if QT_CONFIG(dynamicgl)$/#if QT_CONFIG(dynamicgl) \&\& QT_CONFIG(opengl)/' "$windows/qwindowswindow.cpp" &&
  sed -i 's/^#if QT_CONFIG(directwrite3)$/#if QT_CONFIG(directwrite3) \&\& QT_CONFIG(direct2d)/' \
    "$windows/qwindowsintegration.cpp" &&
  cross_cmake -S "$work/qt6-base/src" -B "$work/qt6-base/build" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DBUILD_SHARED_LIBS=ON -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
    -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_opengl=OFF -DFEATURE_vulkan=OFF \
    -DFEATURE_printsupport=OFF -DFEATURE_icu=OFF -DFEATURE_openssl=OFF -DFEATURE_schannel=ON \
    -DFEATURE_tabletevent=OFF -DFEATURE_direct2d=OFF -DFEATURE_zstd=OFF -DFEATURE_testlib=ON \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF \
    -DFEATURE_system_freetype=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF \
    -DFEATURE_system_doubleconversion=OFF -DFEATURE_sql_sqlite=OFF &&
  cmake --build "$work/qt6-base/build" -j"$jobs" &&
  cmake --install "$work/qt6-base/build"
}

# Builds one library unless its stamp says the same recipe built it before.
with_stamp() {
  local name=$1 stamp=$cache/stamps/$1 recipe
  recipe=$( { declare -f "build_$name"; cat "$toolchain"; } | sha256sum | cut -d' ' -f1)
  if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$recipe" ]; then
    return
  fi
  if $check_only; then
    echo "The Windows toolchain's $name is missing or was built by another recipe." >&2
    exit 1
  fi
  echo "Building $name for Windows (log: $cache/$name.log)..."
  local start=$SECONDS
  if ! "build_$name" >"$cache/$name.log" 2>&1; then
    echo "Building $name failed; the end of its log:" >&2
    tail -30 "$cache/$name.log" >&2
    exit 1
  fi
  rm -rf "${work:?}/$name" "${work:?}/qt6-base"
  echo "$recipe" >"$stamp"
  echo "  $name built in $(( (SECONDS - start) / 60 )) min $(( (SECONDS - start) % 60 )) s."
}

with_stamp rtmidi
with_stamp googletest
with_stamp hamlib
with_stamp qt
$check_only || echo "Windows toolchain ready in $prefix."
