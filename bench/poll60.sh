#!/usr/bin/env bash
# The running program over 60 s of polling against the radio simulator: CPU
# time and peak memory from /usr/bin/time -v. Settings live in a temporary
# folder; the user's own are never touched.
# Usage: bench/poll60.sh BUILD_DIR [SECONDS] [POLLTIME_MS]
set -euo pipefail
build=${1:?usage: poll60.sh BUILD_DIR [SECONDS] [POLLTIME_MS]}
seconds=${2:-60}
polltime=${3:-1000}
program="$build/vorn-midi-connector"
sim="$build/tools/radiosim/vmc-radiosim"
[ -x "$program" ] && [ -x "$sim" ] || { echo "build vorn-midi-connector and vmc-radiosim first" >&2; exit 1; }

. "$(dirname "$0")/radio_sim.sh"
start_radio_sim "$sim"

mkdir -p "$work/config"
cat >"$work/config/vorn-midi-connector.ini" <<INI
[settings]
catport=1
polltime=$polltime
mautoconnect=0
[ports]
com1=$work/radio
INI

export XDG_CONFIG_HOME="$work/config" HOME="$work" QT_QPA_PLATFORM=offscreen
/usr/bin/time -v timeout -s TERM "$seconds" "$program" 2>"$work/time.txt" || true
grep -E "User time|System time|Percent of CPU|Maximum resident|Elapsed" "$work/time.txt"
echo "commands the radio received: $(wc -l <"$work/radio.log")"
