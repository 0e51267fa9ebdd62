#!/usr/bin/env bash
# Starts or stops the JACK servers that the MIDI tests of one build share:
# the dummy driver (no sound card), no realtime scheduling, under the given
# server names so that runs from different build folders never meet.
# Usage: jack_fixture.sh start|stop NAME...
set -euo pipefail
usage() { echo "usage: jack_fixture.sh start|stop NAME..." >&2; exit 2; }
action=${1:-}
[ $# -ge 2 ] || usage
shift
export JACK_NO_START_SERVER=1 JACK_NO_AUDIO_RESERVATION=1

stop_server() {
  [ -f "$pidfile" ] || return 0
  local pid
  pid=$(cat "$pidfile")
  if kill "$pid" 2>/dev/null; then
    # Five seconds to end, then it is killed.
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null && sleep 0.1 || break; done
    kill -9 "$pid" 2>/dev/null || true
  fi
  rm -f "$pidfile"
}

start_server() {
  # A server left by an aborted run of this build goes first.
  stop_server
  command -v jackd >/dev/null || { echo "jackd is not installed; scripts/setup.sh installs jackd2" >&2; exit 1; }
  # Killed servers keep their place in JACK's registry of eight servers; free them.
  python3 "$(dirname "$0")/../../scripts/jack_forget_dead_servers.py" || true
  # A client that is not run within a cycle loses that cycle's MIDI events.
  # With tests running in parallel on two cores, 5 ms cycles (256 frames) were
  # missed now and then; 1024 frames (21 ms) leave room. ThreadSanitizer
  # builds run far slower, so scripts/tsan.sh asks for longer cycles still.
  nohup jackd -n "$name" -r -d dummy -r 48000 -p "${VMC_JACK_PERIOD:-1024}" >"$logfile" 2>&1 </dev/null 9>&- &
  echo $! >"$pidfile"
  for _ in $(seq 100); do
    if JACK_DEFAULT_SERVER="$name" jack_lsp >/dev/null 2>&1; then
      echo "JACK server $name is running (pid $(cat "$pidfile"))"
      return 0
    fi
    kill -0 "$(cat "$pidfile")" 2>/dev/null || break
    sleep 0.1
  done
  echo "JACK server $name did not start:" >&2
  cat "$logfile" >&2
  stop_server
  exit 1
}

case "$action" in
  start|stop) ;;
  *) usage ;;
esac
# A server starting or stopping rewrites JACK's registry of servers, and a
# client of another server that opens meanwhile may find no server at all: so
# every server of a run starts before its first MIDI test and stops after its
# last, and runs from other build folders take turns.
exec 9>"${TMPDIR:-/tmp}/vmc-jack-$(id -u).lock"
flock 9
for name in "$@"; do
  state="${TMPDIR:-/tmp}/vmc-jack-$(id -u)-$name"
  pidfile="$state.pid" logfile="$state.log"
  "${action}_server"
done
