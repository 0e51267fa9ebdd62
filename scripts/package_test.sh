#!/usr/bin/env bash
# Checks the Debian packages as an operator gets them: builds them with CPack
# from a build folder, unpacks them into a temporary root (dpkg-deb -x) and
# checks what is installed there: the files, the dependencies taken from the
# linked libraries, the menu entry and AppStream metainfo (desktop-file-validate,
# appstreamcli validate), the installed program's --version, the installed
# radio simulator, and a short run of the installed program on a virtual
# display with a fresh settings file, ended with SIGTERM.
# Usage: scripts/package_test.sh [BUILD_DIR]   (default: build; built already)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/vmc-package-test.XXXXXX")
trap 'rm -rf "$work"' EXIT

fail() {
  echo "package test: FAIL: $*" >&2
  exit 1
}

echo "== cpack -G DEB"
(cd "$build" && cpack -G DEB -B "$work/packages") >"$work/cpack.log" 2>&1 \
  || { cat "$work/cpack.log"; fail "cpack failed"; }
program_deb=$(echo "$work"/packages/vorn-midi-connector_*.deb)
tools_deb=$(echo "$work"/packages/vorn-midi-connector-tools_*.deb)
[ -f "$program_deb" ] && [ -f "$tools_deb" ] || fail "missing packages: $(ls "$work/packages")"

echo "== dependencies from the linked libraries"
for deb in "$program_deb" "$tools_deb"; do
  depends=$(dpkg-deb -f "$deb" Depends)
  for lib in libqt6widgets6 libc6; do
    [[ "$depends" == *"$lib"* ]] || fail "$(basename "$deb") does not depend on $lib: $depends"
  done
done
depends=$(dpkg-deb -f "$program_deb" Depends)
for lib in libqt6serialport6 libqt6network6 librtmidi; do
  [[ "$depends" == *"$lib"* ]] || fail "vorn-midi-connector does not depend on $lib: $depends"
done

echo "== installed files"
installed=$work/root
for deb in "$program_deb" "$tools_deb"; do
  dpkg-deb -x "$deb" "$installed"
done
for file in bin/vorn-midi-connector bin/vmc-radiosim bin/vmc-vsurface \
  share/doc/vorn-midi-connector/readme.txt \
  share/icons/hicolor/scalable/apps/vorn-midi-connector.svg \
  share/icons/hicolor/48x48/apps/vorn-midi-connector.png \
  share/icons/hicolor/256x256/apps/vorn-midi-connector.png; do
  [ -f "$installed/usr/$file" ] || fail "/usr/$file is not installed"
done
desktop_files=("$installed"/usr/share/applications/*.desktop)
metainfo_files=("$installed"/usr/share/metainfo/*.metainfo.xml)
[ -f "${desktop_files[0]}" ] && [ -f "${metainfo_files[0]}" ] || fail "no .desktop or metainfo file"

echo "== desktop-file-validate, appstreamcli validate"
desktop-file-validate "${desktop_files[@]}" || fail "desktop-file-validate"
appstreamcli validate --no-net "${metainfo_files[@]}" || fail "appstreamcli validate"

program=$installed/usr/bin/vorn-midi-connector
echo "== $program --version"
version=$(env -u DISPLAY -u WAYLAND_DISPLAY "$program" --version)
package_version=$(dpkg-deb -f "$program_deb" Version)
[ "$version" = "vorn-midi-connector $package_version" ] \
  || fail "--version says '$version', the package is version $package_version"

echo "== the installed radio simulator"
pty=$("$installed/usr/bin/vmc-radiosim" --stdin-exit </dev/null | head -n 1)
[[ "$pty" == /dev/* ]] || fail "vmc-radiosim printed '$pty' instead of its terminal"

echo "== a short run on a virtual display, fresh settings file, SIGTERM"
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config
settings=$work/fresh/vmc.ini
set +e
xvfb-run -a -s "-noreset -screen 0 1024x768x24" bash -c '
  "$1" --settings "$2" >"$3" 2>&1 &
  pid=$!
  # Up once it has written its settings or shows a window (a fresh file
  # without a serial port starts with a box about the COM port).
  for _ in $(seq 300); do
    [ -s "$2" ] && break
    xwininfo -root -tree 2>/dev/null | grep -q "(\"vorn-midi-connector\" \"vorn-midi-connector\")" && break
    kill -0 "$pid" 2>/dev/null || exit 90
    sleep 0.1
  done
  kill -TERM "$pid"
  wait "$pid"' _ "$program" "$settings" "$work/run.out"
status=$?
set -e
[ "$status" -eq 0 ] || { cat "$work/run.out"; fail "the program ended with status $status"; }
grep -q '^FormTop=' "$settings" || fail "the window position was not stored at the end: $(cat "$settings")"
[ ! -e "$settings.running" ] || fail "the program left its lock file behind"
[ ! -e "$XDG_CONFIG_HOME/vorn-midi-connector.ini" ] || fail "--settings was not used"
echo "PASS: packages $(basename "$program_deb") and $(basename "$tools_deb")"
