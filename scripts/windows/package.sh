#!/usr/bin/env bash
# Gathers the Windows program with everything it loads into one folder, checks
# that no DLL it needs is missing, and makes the installer and the zip of it.
# Usage: scripts/windows/package.sh BUILD_DIR   (after the cross build)
# Leaves BUILD_DIR/dist/vorn-midi-connector-<version>-win64-setup.exe and .zip.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
cache=${VMC_WIN64_CACHE:-$HOME/.cache/vorn-midi-connector-win64}
prefix=$cache/prefix
version=$(sed -n 's/^project(VornMidiConnector VERSION \([0-9.]*\).*/\1/p' "$here/../../CMakeLists.txt")
name=vorn-midi-connector-$version-win64
dist=$build/dist
stage=$dist/$name
mingw_runtime=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")

rm -rf "$dist"
mkdir -p "$stage"/{platforms,styles,tls}
cp "$build/vorn-midi-connector.exe" "$build/readme.txt" "$stage/"
cp "$prefix/plugins/platforms/qwindows.dll" "$stage/platforms/"
cp "$prefix/plugins/styles/qwindowsvistastyle.dll" "$stage/styles/"
cp "$prefix/plugins/tls/qschannelbackend.dll" "$stage/tls/"
x86_64-w64-mingw32-strip "$stage/vorn-midi-connector.exe"

# Every DLL that the program and its plugins load, found among Qt's, Hamlib's,
# RtMidi's and the MinGW runtime's; what none of them has is the system's own
# (a DLL Wine has too, or one of Windows' API sets, api-ms-win-*).
imports() { x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^\s*DLL Name: //p'; }
find_dll() {
  local dll
  for dll in "$prefix/bin/$1" "$mingw_runtime/$1" "/usr/x86_64-w64-mingw32/lib/$1"; do
    [ -f "$dll" ] && { echo "$dll"; return; }
  done
  return 0
}
pending=("$stage"/vorn-midi-connector.exe "$stage"/*/*.dll)
while [ ${#pending[@]} -gt 0 ]; do
  binary=${pending[0]}
  pending=("${pending[@]:1}")
  for dll in $(imports "$binary"); do
    [ -f "$stage/$dll" ] && continue
    found=$(find_dll "$dll")
    if [ -n "$found" ]; then
      cp "$found" "$stage/"
      x86_64-w64-mingw32-strip --strip-unneeded "$stage/$dll"
      pending+=("$stage/$dll")
    elif [[ ${dll,,} != api-ms-win-* ]] && [ ! -f "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/${dll,,}" ]; then
      echo "package: $(basename "$binary") needs $dll, which is neither built here nor part of Windows." >&2
      exit 1
    fi
  done
done

# The uninstaller removes what was installed, file by file, folders last.
remove_list=$dist/remove.nsh
(cd "$stage" && find . -type f | sed 's|^\./||; s|/|\\|g; s|.*|  Delete "$INSTDIR\\&"|'
 cd "$stage" && find . -mindepth 1 -type d | sort -r | sed 's|^\./||; s|/|\\|g; s|.*|  RMDir "$INSTDIR\\&"|') >"$remove_list"

makensis -V2 -DVERSION="$version" -DSTAGE="$stage" -DOUTFILE="$dist/$name-setup.exe" -DREMOVE="$remove_list" \
  "$here/installer.nsi" >/dev/null
(cd "$dist" && zip -qr "$name.zip" "$name")
echo "Installer: $dist/$name-setup.exe ($(du -h "$dist/$name-setup.exe" | cut -f1))"
echo "Zip:       $dist/$name.zip ($(du -h "$dist/$name.zip" | cut -f1))"
