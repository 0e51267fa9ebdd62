#!/usr/bin/env bash
# Round trip of a frequency read through the network rig control, as Debian's
# rigctl sees it: the running program polls the radio simulator and serves it
# on a free port. Prints the wall time of whole rigctl runs (open, "f", close)
# and, from one rigctl run with its cache off, the time per "f".
# Settings live in a temporary folder; the user's own are never touched.
# Usage: bench/rigctl_roundtrip.sh BUILD_DIR [READS] [POLLTIME_MS]
set -euo pipefail
build=${1:?usage: rigctl_roundtrip.sh BUILD_DIR [READS] [POLLTIME_MS]}
reads=${2:-1000}
polltime=${3:-1000}
program="$build/vorn-midi-connector"
sim="$build/tools/radiosim/vmc-radiosim"
[ -x "$program" ] && [ -x "$sim" ] || { echo "build vorn-midi-connector and vmc-radiosim first" >&2; exit 1; }
command -v rigctl >/dev/null || { echo "rigctl is missing: install libhamlib-utils" >&2; exit 1; }

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

"$sim" --link "$work/radio" --log "$work/radio.log" >"$work/sim.out" &
pids+=($!)
for _ in $(seq 100); do [ -e "$work/radio" ] && break; sleep 0.05; done
[ -e "$work/radio" ] || { echo "the radio simulator did not start" >&2; exit 1; }

port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
mkdir -p "$work/config"
cat >"$work/config/vorn-midi-connector.ini" <<INI
[settings]
catport=1
polltime=$polltime
rigctld=1
rigctldport=$port
[ports]
com1=$work/radio
INI
XDG_CONFIG_HOME="$work/config" HOME="$work" QT_QPA_PLATFORM=offscreen "$program" >"$work/program.out" 2>&1 &
pids+=($!)
rig=(rigctl -m 2 -r "127.0.0.1:$port")
for _ in $(seq 200); do "${rig[@]}" f 2>/dev/null | grep -q '^[0-9]' && break; sleep 0.05; done

ms() { awk -v ns="$1" 'BEGIN { printf "%.3f", ns / 1e6 }'; }
runs=50
start=$(date +%s%N)
for _ in $(seq $runs); do "${rig[@]}" f >/dev/null; done
whole=$(( ($(date +%s%N) - start) / runs ))
echo "whole rigctl run (open, f, close): $(ms $whole) ms  [${rig[*]} f, mean of $runs]"

start=$(date +%s%N)
"${rig[@]}" -C cache_timeout=0 - </dev/null >/dev/null
empty=$(( $(date +%s%N) - start ))
start=$(date +%s%N)
printf 'f\n%.0s' $(seq "$reads") | "${rig[@]}" -C cache_timeout=0 - >"$work/reads.out"
many=$(( $(date +%s%N) - start ))
[ "$(grep -c '^f [0-9]' "$work/reads.out")" -eq "$reads" ] || { echo "not every read was answered" >&2; exit 1; }
echo "one f inside a run: $(ms $(( (many - empty) / reads ))) ms  [printf f x $reads | ${rig[*]} -C cache_timeout=0 -]"
