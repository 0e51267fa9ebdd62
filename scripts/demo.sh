#!/usr/bin/env bash
# Tries Vorn-MIDI Connector without hardware: the radio simulator with its front
# panel, the virtual control surface and the program, side by side, joined by a
# pseudo-terminal (CAT) and MIDI. The program runs on a settings profile of the
# demo's own, so the user's real settings are never read or written.
#
# Usage: scripts/demo.sh [--dir DIR] [--screenshot FILE [--seconds N]]
#   --dir DIR          keep the demo's files in DIR: settings, the radio's command log
#                      (radio-commands.log) and the helpers' output; default: a temporary
#                      folder removed at the end
#   --screenshot FILE  after N seconds (default 6) turn the wheel a little, save a
#                      screenshot of the whole screen to FILE and end the demo
# Closing the program ends the demo. Executables come from $VMC_BUILD_DIR
# (default: build/ in the checkout; scripts/run.sh builds them there).
set -euo pipefail
# A command that fails ends the demo; it says which, where the output is read.
set -E
trap 'echo "demo: line $LINENO: $BASH_COMMAND failed" >&2' ERR

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${VMC_BUILD_DIR:-$root/build}
program=$build/vorn-midi-connector
radiosim=$build/tools/radiosim/vmc-radiosim
vsurface=$build/tools/vsurface/vmc-vsurface

# Where the windows go: the program at the left, then the surface, then the radio.
readonly kTop=10 kLeft=10 kGap=12
readonly kTwipsPerPixel=15

usage() {
  sed -n '7,14p' "${BASH_SOURCE[0]}" | sed 's/^# \{0,1\}//' >&2
  exit 2
}

fail() {
  echo "demo: $*" >&2
  exit 1
}

dir="" screenshot="" seconds=6
while [ $# -gt 0 ]; do
  case "$1" in
    --dir) [ $# -ge 2 ] || usage; dir=$2; shift 2 ;;
    --screenshot) [ $# -ge 2 ] || usage; screenshot=$2; shift 2 ;;
    --seconds) [ $# -ge 2 ] || usage; seconds=$2; shift 2 ;;
    -h|--help) usage ;;
    *) echo "demo: unknown option $1" >&2; usage ;;
  esac
done
[[ "$seconds" =~ ^[0-9]+$ ]] || fail "--seconds needs a whole number of seconds, not '$seconds'"

for exe in "$program" "$radiosim" "$vsurface"; do
  [ -x "$exe" ] || fail "$exe is missing; build it with scripts/run.sh (or set VMC_BUILD_DIR)"
done
for tool in xdotool ${screenshot:+import}; do
  command -v "$tool" >/dev/null || fail "$tool is missing; scripts/setup.sh installs it"
done
[ -n "${DISPLAY:-}" ] || fail "no X display; run scripts/run.sh, which starts one with xvfb-run"

if [ -n "$screenshot" ]; then
  mkdir -p "$(dirname "$screenshot")"
  screenshot=$(cd "$(dirname "$screenshot")" && pwd)/$(basename "$screenshot")
fi
own_dir=""
if [ -z "$dir" ]; then
  dir=$(mktemp -d "${TMPDIR:-/tmp}/vmc-demo.XXXXXX")
  own_dir=$dir
fi
mkdir -p "$dir"
dir=$(cd "$dir" && pwd)

# Every helper runs as a job of its own (its own process group), so ending the
# demo ends each helper with all it started, and nothing outside the demo.
set -m
helpers=()

end_demo() {
  local status=$?
  trap - EXIT INT TERM
  set +m  # no job notices while the helpers end
  local i pid
  for ((i = ${#helpers[@]} - 1; i >= 0; i--)); do
    pid=${helpers[i]}
    kill -TERM -- "-$pid" 2>/dev/null || continue
    # jackd first waits up to 5 s for a client that went away without closing.
    for _ in $(seq 100); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    kill -KILL -- "-$pid" 2>/dev/null || true
    # Reaped here, so that no helper outlives the demo even for a moment.
    wait "$pid" 2>/dev/null || true
  done
  [ -z "$own_dir" ] || rm -rf "$own_dir"
  exit "$status"
}
trap end_demo EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# start NAME COMMAND...: runs a helper in the background, output to $dir/NAME.out.
start() {
  local name=$1
  shift
  "$@" >"$dir/$name.out" 2>&1 </dev/null &
  helpers+=("$!")
}

# find_window PID TITLE: the id of PID's window with exactly that title, if shown.
find_window() {
  xdotool search --all --onlyvisible --pid "$1" --name "^$2\$" 2>/dev/null | head -n 1
}

# await_window PID TITLE: waits up to 15 s for PID's window of exactly that
# title and prints its id; fails when PID ends first. The id is the one the
# search found: a second search can miss while other windows come and go.
await_window() {
  local pid=$1 title=$2 id="" deadline=$((SECONDS + 15))
  until id=$(find_window "$pid" "$title") && [ -n "$id" ]; do
    kill -0 "$pid" 2>/dev/null || fail "$title: the process ended; see $dir"
    [ "$SECONDS" -lt "$deadline" ] || fail "$title: no window after 15 s; see $dir"
    sleep 0.2
  done
  echo "$id"
}

start_jack_when_needed() {
  if [ "${VMC_MIDI_API:-}" != jack ] && { [ -e /dev/snd/seq ] || [ "${VMC_MIDI_API:-}" = alsa ]; }; then
    return 0
  fi
  export VMC_MIDI_API=jack JACK_NO_START_SERVER=1 JACK_NO_AUDIO_RESERVATION=1
  # A JACK server given by the caller (the tests' own) is used as it is.
  if [ -n "${JACK_DEFAULT_SERVER:-}" ] && jack_lsp >/dev/null 2>&1; then
    return 0
  fi
  command -v jackd >/dev/null || fail "no ALSA sequencer and no jackd; scripts/setup.sh installs jackd2"
  export JACK_DEFAULT_SERVER="vmc-demo-$$"
  "$root/scripts/jack_forget_dead_servers.py" || true
  # Long periods: a busy machine without realtime scheduling then loses no MIDI.
  start jackd jackd -n "$JACK_DEFAULT_SERVER" -r -d dummy -r 48000 -p 2048
  jack_wait -s "$JACK_DEFAULT_SERVER" -w -t 10 >/dev/null 2>&1 \
    || fail "the JACK server did not start: $(tail -n 3 "$dir/jackd.out")"
}

# ini_value TEXT: TEXT in quotes, as the program's settings file keeps it.
ini_value() {
  local text=${1//\\/\\\\}
  printf '"%s"' "${text//\"/\\\"}"
}

write_demo_settings() {
  {
    echo "[settings]"
    echo "catport=$(ini_value 1)"
    echo "mautoconnect=$(ini_value 1)"
    echo "rigtype=$(ini_value flex)"
    echo "FormTop=$(ini_value $((kTop * kTwipsPerPixel)))"
    echo "FormLeft=$(ini_value $((kLeft * kTwipsPerPixel)))"
    echo "[ports]"
    echo "com1=$(ini_value "$dir/radio")"
  } >"$dir/vorn-midi-connector.ini"
}

# place_right_of WINDOW NEIGHBOUR: moves WINDOW next to NEIGHBOUR's right edge.
# Only where the windows stand depends on it, so a window that cannot be
# moved stays where it opened and the demo goes on.
place_right_of() {
  local X Y WIDTH HEIGHT SCREEN WINDOW geometry
  geometry=$(xdotool getwindowgeometry --shell "$2" 2>/dev/null) \
    && eval "$geometry" \
    && xdotool windowmove "$1" $((X + WIDTH + kGap)) "$kTop" 2>/dev/null \
    || echo "demo: a window stays where it opened (it could not be moved)" >&2
}

turn_wheel() {
  xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus --sync "$1"
  xdotool key --delay 150 Up Up Up Up Up Up
}

start_jack_when_needed
start radiosim "$radiosim" --panel --link "$dir/radio" --log "$dir/radio-commands.log"
radiosim_pid=${helpers[-1]}
radiosim_window=$(await_window "$radiosim_pid" "Radio Simulator")

# The surface first, so that the program's automatic connection finds "Vorn-MIDI".
start vsurface "$vsurface"
vsurface_pid=${helpers[-1]}
vsurface_window=$(await_window "$vsurface_pid" "Vorn-MIDI virtual control surface")

write_demo_settings
start program "$program" --settings "$dir/vorn-midi-connector.ini"
program_pid=${helpers[-1]}
program_window=$(await_window "$program_pid" "Vorn-MIDI Connector")
place_right_of "$vsurface_window" "$program_window"
place_right_of "$radiosim_window" "$vsurface_window"

if [ -z "$screenshot" ]; then
  echo "Demo running (files in $dir). Turn the wheel with Up/Down in the surface window;"
  echo "close Vorn-MIDI Connector to end the demo."
  wait "$program_pid" || true
  exit 0
fi

sleep "$seconds"
turn_wheel "$vsurface_window"
# Split and RIT on: the radio reports them, and their buttons light.
xdotool key --delay 300 1 2
sleep 2
import -window root "$screenshot"
echo "Screenshot saved to $screenshot"
