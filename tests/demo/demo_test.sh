#!/usr/bin/env bash
# End-to-end test of scripts/demo.sh on a virtual display of its own:
#  1. the wheel of the virtual surface, turned through its window, makes the
#     program send the simulated radio "FA…;" with a higher frequency (Flex map);
#  2. button 6 ("#MUP") makes it send "MD…;";
#  4. closing the program ends the demo and all its helpers;
#  5. the screenshot mode saves a picture and ends by itself;
#  6. the user's own settings file stays byte for byte as it was.
# Needs VMC_BUILD_DIR (set by CTest). Exits 77 (skipped) without xvfb-run/xdotool.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
: "${VMC_BUILD_DIR:?VMC_BUILD_DIR must name the build folder}"
export VMC_BUILD_DIR

if [ "${1:-}" != --on-virtual-display ]; then
  for tool in xvfb-run xdotool import identify; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing (scripts/setup.sh)"; exit 77; }
  done
  exec xvfb-run -a -s "-screen 0 1400x800x24" "$0" --on-virtual-display
fi

readonly kStartHz=14060000  # the simulator's VFO A at start
readonly kScreenWidth=1400 kScreenHeight=800
readonly kSurfaceTitle="Vorn-MIDI virtual control surface"

tmp=$(mktemp -d "${TMPDIR:-/tmp}/vmc-demo-test.XXXXXX")
demo_pid=""
finish() {
  local status=$?
  if [ -n "$demo_pid" ] && kill -0 "$demo_pid" 2>/dev/null; then
    kill -TERM "$demo_pid" 2>/dev/null || true
    wait "$demo_pid" 2>/dev/null || true
  fi
  if [ "$status" -ne 0 ]; then
    echo "--- demo output:"; cat "$tmp/demo.out" 2>/dev/null || true
    for f in "$tmp"/demo/*.out "$tmp"/demo/radio-commands.log; do
      [ -f "$f" ] && { echo "--- $f (last lines):"; tail -n 20 "$f"; }
    done
  fi
  rm -rf "$tmp"
  exit "$status"
}
trap finish EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# poll WHAT SECONDS COMMAND...: runs COMMAND until it succeeds or the time is up.
poll() {
  local what=$1 seconds=$2
  shift 2
  local deadline=$((SECONDS + seconds))
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || fail "$what (gave up after ${seconds}s)"
    sleep 0.3
  done
}

demo_alive() {
  kill -0 "$demo_pid" 2>/dev/null || fail "the demo ended early"
}

window() {
  xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1
}

# A fake "real" settings file of the user, which the demo must never touch.
export HOME=$tmp/home XDG_CONFIG_HOME=$tmp/home/.config
mkdir -p "$XDG_CONFIG_HOME"
real_ini=$XDG_CONFIG_HOME/vorn-midi-connector.ini
printf '[settings]\r\ncatport="7"\r\nrigtype="elecraft"\r\nFormTop="3000"\r\n[ports]\r\ncom7="/dev/ttyUSB9"\r\n' >"$real_ini"
cp "$real_ini" "$tmp/real.ini.before"

"$root/scripts/demo.sh" --dir "$tmp/demo" >"$tmp/demo.out" 2>&1 &
demo_pid=$!
log=$tmp/demo/radio-commands.log

demo_running() { demo_alive && grep -q "^Demo running" "$tmp/demo.out"; }
poll "the demo comes up" 90 demo_running

echo "== settings: the demo's own profile points COM1 at the simulator"
grep -qxF "com1=\"$tmp/demo/radio\"" "$tmp/demo/vorn-midi-connector.ini" \
  || fail "demo settings do not point COM1 at the simulator's link"

surface=$(window "$kSurfaceTitle")

# MIDI is acted on only while the radio answers the program's status poll.
polled() { demo_alive && grep -q " IF;\?$" "$log" 2>/dev/null; }
poll "the program polls the simulated radio" 30 polled

# press_until WHAT SECONDS KEY CHECK: presses KEY in the surface's window until
# CHECK holds; a press made before the program has connected may go unheard.
press_until() {
  local what=$1 seconds=$2 key=$3 check=$4
  local deadline=$((SECONDS + seconds))
  while [ "$SECONDS" -lt "$deadline" ]; do
    demo_alive
    xdotool windowfocus --sync "$surface"
    xdotool key "$key"
    for _ in 1 2 3 4 5; do
      sleep 0.3
      "$check" && return 0
    done
  done
  fail "$what (gave up after ${seconds}s)"
}

echo "== wheel up in home mode: FA with a higher frequency"
tuned_up() {
  local hz
  hz=$(sed -n 's/^[0-9]* FA\([0-9]\{11\}\);\{0,1\}$/\1/p' "$log" | tail -n 1)
  [ -n "$hz" ] && [ $((10#$hz)) -gt $kStartHz ] && echo "   radio got FA$hz;"
}
press_until "a wheel step up gives FA with a higher frequency" 45 Up tuned_up

echo "== button 6 (#MUP): MD"
mode_set() {
  local line
  line=$(grep -E " MD[1-9];?$" "$log" | tail -n 1)
  [ -n "$line" ] && echo "   radio got ${line#* }"
}
press_until "button 6 gives an MD command" 45 6 mode_set

echo "== closing the program ends the demo and its helpers"
helper_pids=()
for title in "$kSurfaceTitle" "Radio Simulator"; do
  helper_pids+=("$(xdotool getwindowpid "$(window "$title")")")
done
jack_pid=$(pgrep -f -- "^jackd -n vmc-demo-$demo_pid " || true)
[ -z "$jack_pid" ] || helper_pids+=("$jack_pid")
kill -TERM "$(xdotool getwindowpid "$(window "Vorn-MIDI Connector")")"
demo_ended() { ! kill -0 "$demo_pid" 2>/dev/null; }
poll "the demo ends with the program" 30 demo_ended
wait "$demo_pid" || fail "the demo ended with status $?"
demo_pid=""
for pid in "${helper_pids[@]}"; do
  ! kill -0 "$pid" 2>/dev/null || fail "helper $pid ($(ps -o comm= -p "$pid")) still runs"
done

echo "== screenshot mode"
"$root/scripts/demo.sh" --screenshot "$tmp/shots/demo.png" --seconds 1 >"$tmp/demo.out" 2>&1 &
demo_pid=$!
poll "the screenshot run ends by itself" 120 demo_ended
wait "$demo_pid" || fail "the screenshot run ended with status $?"
demo_pid=""
grep -qxF "Screenshot saved to $tmp/shots/demo.png" "$tmp/demo.out" || fail "no screenshot message"
[ "$(identify -format '%wx%h' "$tmp/shots/demo.png")" = "${kScreenWidth}x$kScreenHeight" ] \
  || fail "the screenshot is not a picture of the whole screen"

echo "== the user's own settings are untouched"
cmp -s "$real_ini" "$tmp/real.ini.before" || fail "the user's settings file changed"
written=$(find "$HOME" -iname '*vorn-midi*' ! -path "$real_ini")
[ -z "$written" ] || fail "the demo wrote settings into HOME: $written"
echo "PASS"
