#!/usr/bin/env bash
# What Hamlib itself takes for a frequency step on the TS-480 road: Debian's
# rigctl drives the radio simulator (paced at 38400 baud both ways, as
# bench_wheelrate's ts480 road) with the Kenwood TS-480 driver, STEPS set
# frequencies in one run, one after the other. Prints the time per step and
# the steps a second, to set beside bench_wheelrate's commands a second on
# the same road (the program's own step through Hamlib).
# Usage: bench/hamlib_own_step.sh BUILD_DIR [STEPS]
set -euo pipefail
build=${1:?usage: hamlib_own_step.sh BUILD_DIR [STEPS]}
steps=${2:-200}
sim="$build/tools/radiosim/vmc-radiosim"
[ -x "$sim" ] || { echo "build vmc-radiosim first" >&2; exit 1; }
command -v rigctl >/dev/null || { echo "rigctl is missing: install libhamlib-utils" >&2; exit 1; }
. "$(dirname "$0")/radio_sim.sh"
start_radio_sim "$sim" --paced

rig=(rigctl -m 2028 -r "$work/radio" -s 38400 -C cache_timeout=0)
ns() { date +%s%N; }
start=$(ns)
"${rig[@]}" - </dev/null >/dev/null
opened=$(( $(ns) - start ))
start=$(ns)
for i in $(seq "$steps"); do echo "F $((14060000 + 10 * i))"; done | "${rig[@]}" - >"$work/steps.out"
whole=$(( $(ns) - start - opened ))
sets=$(grep -c ' FA[0-9]' "$work/radio.log" || true)
grep -q " FA$(printf '%011d' $((14060000 + 10 * steps)))\$" "$work/radio.log" ||
  { echo "the last step did not reach the radio" >&2; exit 1; }
awk -v ns="$whole" -v n="$steps" -v fa="$sets" \
  'BEGIN { printf "rigctl -m 2028, %d steps: %.1f ms a step, %.1f steps a second (%d frequencies set at the radio)\n", n, ns / n / 1e6, n / (ns / 1e9), fa }'
