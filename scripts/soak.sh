#!/usr/bin/env bash
# A long run of the whole program against a simulated station: the radio
# simulator (or a rigctld), a controller turning the wheel all the time,
# loggers on the network rig control, and faults at random moments; checks at
# the end that every wheel step reached the radio once, that the program
# still answers and ends cleanly, and how its memory and descriptors went.
#
# Usage: scripts/soak.sh [MINUTES] [--road cat|hamlib|rigctld|tcp] [--seed N] [--build DIR] [--dir DIR]
#   MINUTES  how long the faults go on (default 30; decimals allowed)
#   --road   how the program reaches the radio: its own CAT link to the simulator
#            (cat, default), Hamlib's TS-480 driver on the simulator (hamlib),
#            Hamlib's NET rigctl to a rigctld (rigctld), or its own CAT link to
#            the simulator over TCP (tcp)
#   --seed   seed of every random choice (default: from the clock; printed)
#   --build  build folder (default $VMC_BUILD_DIR, else build/)
#   --dir    keep the run's files in DIR (default: a temporary folder, kept when a check fails)
# Exit status 0 only when every check passed.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
usage() {
  sed -n '8,17p' "${BASH_SOURCE[0]}" | sed 's/^# \{0,1\}//' >&2
  exit 2
}

minutes=30 road=cat seed="" build=${VMC_BUILD_DIR:-$root/build} dir=""
while [ $# -gt 0 ]; do
  case "$1" in
    --road) [ $# -ge 2 ] || usage; road=$2; shift 2 ;;
    --seed) [ $# -ge 2 ] || usage; seed=$2; shift 2 ;;
    --build) [ $# -ge 2 ] || usage; build=$2; shift 2 ;;
    --dir) [ $# -ge 2 ] || usage; dir=$2; shift 2 ;;
    -h|--help) usage ;;
    [0-9]*) minutes=$1; shift ;;
    *) echo "soak: unknown argument $1" >&2; usage ;;
  esac
done
[ -n "$seed" ] || seed=$(( $(date +%s%N) / 1000 % 1000000 ))
build=$(cd "$build" && pwd)
soak=$build/tools/soak/vmc-soak
for exe in "$build/vorn-midi-connector" "$build/tools/radiosim/vmc-radiosim" "$soak"; do
  [ -x "$exe" ] || { echo "soak: $exe is missing; build the folder first" >&2; exit 1; }
done

# The program's windows need a display: a virtual one of the run's own, which
# never resets (a reset when the last client leaves refuses the next meanwhile).
if [ -z "${VMC_SOAK_SCREEN:-}" ]; then
  command -v xvfb-run >/dev/null || { echo "soak: xvfb-run is missing; scripts/setup.sh installs it" >&2; exit 1; }
  VMC_SOAK_SCREEN=1 exec xvfb-run -a -s "-noreset -screen 0 1280x1024x24" "$0" "$minutes" --road "$road" --seed "$seed" \
    --build "$build" ${dir:+--dir "$dir"}
fi

own_dir=""
if [ -z "$dir" ]; then
  dir=$(mktemp -d "${TMPDIR:-/tmp}/vmc-soak.XXXXXX")
  own_dir=$dir
fi
mkdir -p "$dir"
dir=$(cd "$dir" && pwd)

# A JACK server given by the caller (the tests' own) is used as it is; else
# one of the run's own, started and stopped as the tests' are. Long cycles: a
# loaded machine without realtime scheduling then loses no MIDI.
jack_fixture=$root/tests/support/jack_fixture.sh
own_jack=""
start_jack() {
  export VMC_MIDI_API=jack JACK_NO_START_SERVER=1 JACK_NO_AUDIO_RESERVATION=1
  if [ -n "${JACK_DEFAULT_SERVER:-}" ] && jack_lsp >/dev/null 2>&1; then
    return 0
  fi
  export JACK_DEFAULT_SERVER="vmc-soak-$$"
  VMC_JACK_PERIOD=2048 "$jack_fixture" start "$JACK_DEFAULT_SERVER" >/dev/null
  own_jack=$JACK_DEFAULT_SERVER
}
stop_jack() {
  [ -z "$own_jack" ] || "$jack_fixture" stop "$own_jack"
}

finish() {
  local status=$?
  stop_jack
  if [ "$status" -eq 0 ] && [ -n "$own_dir" ]; then
    rm -rf "$own_dir"
  else
    echo "soak: the run's files are in $dir"
  fi
  exit "$status"
}
trap finish EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

start_jack
echo "soak: seed $seed, road $road, $minutes min (again: scripts/soak.sh $minutes --road $road --seed $seed)"
"$soak" --program "$build/vorn-midi-connector" --radiosim "$build/tools/radiosim/vmc-radiosim" \
  --dir "$dir" --minutes "$minutes" --road "$road" --seed "$seed"
