#!/usr/bin/env bash
# Checks the Windows build under Wine, in a fresh Wine prefix on a virtual
# display: the installer installs silently; the installed program starts with
# the radio simulator of the Linux desk behind COM9, its window appears and
# its poll reaches the radio (a screenshot is taken); it ends as E&xit ends
# it; the uninstaller removes it; then the Windows test suites run.
# Usage: scripts/windows/check.sh BUILD_DIR RADIOSIM [SCREENSHOT]
#   BUILD_DIR  the cross build (with dist/ from package.sh)
#   RADIOSIM   the Linux build's vmc-radiosim
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-noreset -screen 0 1024x768x24" "$0" "$@"
fi
build=$(cd "$1" && pwd)
radiosim=$2
screenshot=${3:-$build/dist/windows-main-window.png}
work=$(mktemp -d /tmp/vmc-wine-check.XXXXXX)
# No Gecko or Mono downloads; a program that crashes ends at once instead of
# waiting in Wine's debugger.
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
program_folder="$WINEPREFIX/drive_c/Program Files/Vorn-MIDI Connector"
passed=0
failed=0
sim_pid=
program_pid=

windows_path() { printf 'Z:%s' "${1//\//\\}"; }
check() {
  if eval "$2"; then
    passed=$((passed + 1)); echo "  ok    $1"
  else
    failed=$((failed + 1)); echo "  FAIL  $1"
  fi
}
wait_until() {  # seconds, condition
  local deadline=$((SECONDS + $1))
  until eval "$2"; do
    [ $SECONDS -ge $deadline ] && return 1
    sleep 0.5
  done
}
finish() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null
  wineserver -k 2>/dev/null || true
  rm -rf "$work"
}
trap finish EXIT

echo "Wine prefix $WINEPREFIX"
wineboot -i >/dev/null 2>&1
wineserver -w

setup=$(ls "$build"/dist/*-setup.exe)
wine "$setup" /S >/dev/null 2>&1
wineserver -w
check "the installer installs silently into Program Files" '[ -f "$program_folder/vorn-midi-connector.exe" ]'
check "with a Start-menu entry" \
  '[ -f "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Vorn-MIDI Connector/Vorn-MIDI Connector.lnk" ]'

# The radio on COM9, as the settings file of this station says.
"$radiosim" --link "$work/radio" --log "$work/radio-commands.log" >"$work/radiosim.out" &
sim_pid=$!
wait_until 10 '[ -e "$work/radio" ]'
ln -sfn "$work/radio" "$WINEPREFIX/dosdevices/com9"
printf '[settings]\ncatport=9\nrigtype=flex\npolltime=500\nmautoconnect=0\n' >"$work/station.ini"

# Wine's GDI drops some glyphs Qt draws through it (the capital I); Qt's
# FreeType engine draws the window as Windows shows it.
wine "C:\\Program Files\\Vorn-MIDI Connector\\vorn-midi-connector.exe" --settings "$(windows_path "$work/station.ini")" \
  -platform windows:fontengine=freetype \
  >"$work/program.out" 2>&1 &
program_pid=$!
window=
wait_until 60 'window=$(xdotool search --name "^Vorn-MIDI Connector$" 2>/dev/null | head -1); [ -n "$window" ]' || true
check "the installed program's window appears" '[ -n "$window" ]'
polled() { [ "$(grep -c ' IF' "$work/radio-commands.log" 2>/dev/null || true)" -ge 3 ] 2>/dev/null; }
check "its poll reaches the radio on COM9" 'wait_until 20 polled'
if [ -n "$window" ]; then
  sleep 1
  import -window "$window" "$screenshot"
  echo "  screenshot: $screenshot"
fi
# Closed as the desktop closes it: it ends as E&xit does and stores its place.
wine taskkill /im vorn-midi-connector.exe >/dev/null 2>&1 || true
wait_until 30 '! kill -0 "$program_pid" 2>/dev/null' || kill "$program_pid" 2>/dev/null || true
status=0
wait "$program_pid" || status=$?
program_pid=
check "it ends with status 0 when closed" '[ "$status" -eq 0 ]'
check "and stores its window's position" 'grep -q "^FormTop=" "$work/station.ini"'

wine "$program_folder/uninstall.exe" /S >/dev/null 2>&1
wineserver -w
wait_until 20 '[ ! -e "$program_folder/vorn-midi-connector.exe" ]' || true
check "the uninstaller removes it" '[ ! -e "$program_folder" ]'
check "and leaves the settings file of the user" '[ -f "$work/station.ini" ]'
kill "$sim_pid" 2>/dev/null; wait "$sim_pid" 2>/dev/null || true
sim_pid=

echo "The Windows test suites under Wine:"
if ctest --test-dir "$build" --output-on-failure -j2 --timeout 300 >"$work/ctest.out" 2>&1; then
  passed=$((passed + 1)); tail -3 "$work/ctest.out" | sed 's/^/  /'
else
  failed=$((failed + 1)); cat "$work/ctest.out"
fi
echo "Windows checks: $passed passed, $failed failed."
[ "$failed" -eq 0 ]
