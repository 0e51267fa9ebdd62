#!/usr/bin/env bash
# Makes every picture in docs/ from the real program on a virtual screen, so
# that the README never shows an older program: the main window, its menus,
# the window that chooses a radio through Hamlib, the Learn Controls window,
# the Lights window and the demo. Needs a build (scripts/run.sh makes one).
# Usage: scripts/pictures.sh [build folder, default build]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(cd "${1:-${VMC_BUILD_DIR:-$root/build}}" && pwd)
if [ -z "${VMC_PICTURES_SCREEN:-}" ]; then
  VMC_PICTURES_SCREEN=1 exec xvfb-run -a -s "-noreset -screen 0 1400x800x24" "$0" "$build"
fi
program=$build/vorn-midi-connector
docs=$root/docs
dir=$(mktemp -d "${TMPDIR:-/tmp}/vmc-pictures.XXXXXX")
pids=()
finish() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$dir"
}
trap finish EXIT

# start NAME COMMAND...: a helper for the length of the script.
start() {
  local name=$1
  shift
  "$@" >"$dir/$name.out" 2>&1 </dev/null &
  pids+=("$!")
}

# window_of PID TITLE: the window, once it shows.
window_of() {
  local id=""
  for _ in $(seq 100); do
    id=$(xdotool search --all --onlyvisible --pid "$1" --name "^$2\$" 2>/dev/null | head -n 1) && [ -n "$id" ] && break
    sleep 0.1
  done
  [ -n "$id" ] || { echo "pictures: no window \"$2\"; see $dir" >&2; exit 1; }
  echo "$id"
}

# settings FILE KEY=VALUE...: a settings file of the picture's own; COM 17
# stands for no port, so no start-up question covers the window.
settings() {
  local file=$1
  shift
  { echo "[settings]"; echo "catport=17"; echo "FormTop=300"; echo "FormLeft=300"; printf '%s\n' "$@"; } >"$file"
}

# The main window alone.
settings "$dir/main.ini"
start main "$program" --settings "$dir/main.ini"
main=$(window_of "${pids[-1]}" "Vorn-MIDI Connector")
sleep 1
import -window "$main" "$docs/main-window.png"

# Each menu open in turn, side by side.
pieces=()
for menu in c r o h; do
  xdotool windowfocus --sync "$main" key "alt+$menu"
  sleep 1
  import -window root -crop 440x420+20+20 +repage "$dir/menu-$menu.png"
  pieces+=("$dir/menu-$menu.png")
  xdotool key Escape
  sleep 0.3
done
convert "${pieces[@]}" +append "$docs/main-menus.png"

# Rig Type > Other Radio (Hamlib)..., an Icom IC-7300 chosen by what the user types.
xdotool windowfocus --sync "$main" key alt+r o
hamlib=$(window_of "${pids[-1]}" "Other Radio \(Hamlib\)")
xdotool windowfocus --sync "$hamlib" type --delay 60 "IC-7300"
xdotool key Tab Down
sleep 0.5
import -window "$hamlib" "$docs/hamlib-radio.png"
xdotool key Escape

# Learn Controls, with a DJ controller's jog learned from the virtual surface
# (imitating a two's-complement jog) on a JACK server of the script's own:
# turned clockwise, a pause, counter-clockwise, a pause.
export JACK_DEFAULT_SERVER="vmc-pictures-$$" VMC_MIDI_API=jack JACK_NO_START_SERVER=1 JACK_NO_AUDIO_RESERVATION=1
start jackd jackd -n "$JACK_DEFAULT_SERVER" -r -d dummy -r 48000 -p 1024
jack_wait -s "$JACK_DEFAULT_SERVER" -w -t 10 >/dev/null
start vsurface "$build/tools/vsurface/vmc-vsurface" --imitate jog
surface=$(window_of "${pids[-1]}" "Vorn-MIDI virtual control surface")
settings "$dir/learn.ini" "mautoconnect=1"
start learn "$program" --settings "$dir/learn.ini"
learner=${pids[-1]}
xdotool windowfocus --sync "$(window_of "$learner" "Vorn-MIDI Connector")" key alt+m
xdotool windowfocus --sync "$(window_of "$learner" "Configure Midi Input")" key alt+l
learn=$(window_of "$learner" "Learn Controls")
xdotool windowfocus --sync "$surface" key --delay 80 Up Up Up
sleep 1.5
xdotool key --delay 80 Down Down Down
sleep 1.5
import -window "$learn" "$docs/learn-controls.png"

# The Lights window, from the MIDI setup window the learning came from (the
# focus goes elsewhere first: the window it falls back to is not made active).
xdotool windowfocus --sync "$learn" key Escape
xdotool windowfocus --sync "$(window_of "$learner" "Vorn-MIDI Connector")"
xdotool windowfocus --sync "$(window_of "$learner" "Configure Midi Input")" key alt+i
lights=$(window_of "$learner" "Lights")
sleep 0.5
import -window "$lights" "$docs/lights.png"

# The demo: program, virtual surface and radio simulator.
kill "${pids[@]}" 2>/dev/null || true
VMC_BUILD_DIR=$build "$root/scripts/demo.sh" --screenshot "$docs/demo.png"
echo "Pictures made in $docs"
