#!/usr/bin/env bash
# End-to-end test of scripts/demo.sh on a virtual display of its own:
#  1. the wheel of the virtual surface, turned through its window, makes the
#     program send the simulated radio "FA…;" with a higher frequency (Flex map);
#  2. button 6 ("#MUP") makes it send "MD…;";
#  3. closing the program ends the demo and all its helpers;
#  4. the screenshot mode saves a picture of the whole screen and ends by itself;
#  5. the user's own settings file stays byte for byte as it was.
# Needs VMC_BUILD_DIR (set by CTest). Exits 77 (skipped) without xvfb-run/xdotool.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
: "${VMC_BUILD_DIR:?VMC_BUILD_DIR must name the build folder}"
export VMC_BUILD_DIR

if [ "${1:-}" != --on-virtual-display ]; then
  for tool in xvfb-run xdotool import identify; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing (scripts/setup.sh)"; exit 77; }
  done
  exec xvfb-run -a -s "-noreset -screen 0 1400x800x24" "$0" --on-virtual-display
fi

readonly kStartHz=14060000  # the simulator's VFO A at start
readonly kSurfaceTitle="Vorn-MIDI virtual control surface"

tmp=$(mktemp -d "${TMPDIR:-/tmp}/vmc-demo-test.XXXXXX")
demo_pid=""
finish() {
  local status=$?
  [ -z "$demo_pid" ] || { kill -TERM "$demo_pid" && wait "$demo_pid"; } 2>/dev/null || true
  # On a failure, the last lines of what the demo and its helpers wrote.
  [ "$status" -eq 0 ] || tail -n 20 "$tmp"/demo.out "$tmp"/demo/*.out "$tmp"/demo/radio-commands.log 2>/dev/null || true
  rm -rf "$tmp"
  exit "$status"
}
trap finish EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }
demo_alive() { kill -0 "$demo_pid" 2>/dev/null || fail "the demo ended early"; }
demo_ended() { ! kill -0 "$demo_pid" 2>/dev/null; }
window() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1; }

# poll WHAT SECONDS COMMAND...: runs COMMAND until it succeeds or the time is up.
poll() {
  local what=$1 seconds=$2 deadline=$((SECONDS + $2))
  shift 2
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || fail "$what (gave up after ${seconds}s)"
    sleep 0.3
  done
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
surface=$(window "$kSurfaceTitle")
polled() { demo_alive && grep -q " IF;\?$" "$log" 2>/dev/null; }
poll "the program polls the simulated radio" 30 polled

# press KEY CHECK: presses KEY in the surface's window, then waits 1.5 s for
# CHECK; a press made before the program has connected may go unheard, and
# MIDI is acted on only while the radio answers the program's status poll.
press() {
  demo_alive
  xdotool windowfocus --sync "$surface"
  xdotool key "$1"
  for _ in 1 2 3 4 5; do sleep 0.3; "$2" && return 0; done
  return 1
}

# Wheel up in home mode: FA with a higher frequency.
tuned_up() {
  local hz
  hz=$(sed -n 's/^[0-9]* FA\([0-9]\{11\}\);\{0,1\}$/\1/p' "$log" 2>/dev/null | tail -n 1)
  [ -n "$hz" ] && [ $((10#$hz)) -gt $kStartHz ]
}
poll "a wheel step up gives FA with a higher frequency" 45 press Up tuned_up
# Button 6 (#MUP): MD.
mode_set() { grep -qE " MD[1-9];?$" "$log"; }
poll "button 6 gives an MD command" 45 press 6 mode_set

# Closing the program ends the demo and its helpers: the surface, the radio
# simulator and the JACK server, when the demo started one.
helpers=$(pgrep -f -- "^jackd -n vmc-demo-$demo_pid " || true)
for title in "$kSurfaceTitle" "Radio Simulator"; do helpers+=" $(xdotool getwindowpid "$(window "$title")")"; done
kill -TERM "$(xdotool getwindowpid "$(window "Vorn-MIDI Connector")")"
poll "the demo ends with the program" 30 demo_ended
wait "$demo_pid" || fail "the demo ended with status $?"
demo_pid=""
for pid in $helpers; do
  ! kill -0 "$pid" 2>/dev/null || fail "helper $pid ($(ps -o comm= -p "$pid")) still runs"
done

# The screenshot mode ends by itself (124: the time ran out) with a picture of the whole screen.
timeout 120 "$root/scripts/demo.sh" --screenshot "$tmp/shots/demo.png" --seconds 1 >"$tmp/demo.out" 2>&1 \
  || fail "the screenshot run ended with status $?"
grep -qxF "Screenshot saved to $tmp/shots/demo.png" "$tmp/demo.out" || fail "no screenshot message"
[ "$(identify -format '%wx%h' "$tmp/shots/demo.png")" = 1400x800 ] || fail "the screenshot is not of the whole screen"

# The user's own settings are untouched, and no other settings were written into HOME.
cmp -s "$real_ini" "$tmp/real.ini.before" || fail "the user's settings file changed"
written=$(find "$HOME" -iname '*vorn-midi*' ! -path "$real_ini")
[ -z "$written" ] || fail "the demo wrote settings into HOME: $written"
echo "PASS"
