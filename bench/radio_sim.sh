# Sourced by the benchmark scripts: start_radio_sim SIMULATOR [ARGUMENTS...]
# starts the radio simulator on a link in a temporary folder ($work, removed
# at exit with the simulator) and waits for the link ($work/radio); what it
# received is in $work/radio.log.
start_radio_sim() {
  work=$(mktemp -d)
  sim_pid=
  trap '[ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null; rm -rf "$work"' EXIT
  "$1" "${@:2}" --link "$work/radio" --log "$work/radio.log" >"$work/sim.out" &
  sim_pid=$!
  for _ in $(seq 100); do [ -e "$work/radio" ] && break; sleep 0.05; done
  [ -e "$work/radio" ] || { echo "the radio simulator did not start" >&2; exit 1; }
}
