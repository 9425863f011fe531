# Shell functions for a private JACK server on the dummy driver and the simulated instrument,
# shared by the end-to-end test and the transfer benchmark. Source it with bin set to the
# programs' directory; everything started is stopped when the script exits.
# The links are virtual ports: sends may go faster than a MIDI cable (VX_MIDI_BAUD), except
# where a test clears it to try the cable's pace.
export JACK_DEFAULT_SERVER="vxtest-$$-$RANDOM" JACK_NO_START_SERVER=1 VX_MIDI_API=jack VX_MIDI_BAUD=2500000

pids=()
# The server goes last, so that no client sees it vanish.
cleanup() {
  local i
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    kill "${pids[i]}" 2>/dev/null || true
    wait "${pids[i]}" 2>/dev/null || true
  done
}
trap cleanup EXIT

fail() {
  echo "FAILED: $*"
  for f in instrument.log send.err; do [ -f "$f" ] && { echo "--- $f"; cat "$f"; }; done
  exit 1
}

start_jack() {
  jackd --no-realtime -n "$JACK_DEFAULT_SERVER" -d dummy -r 48000 -p 1024 >jackd.log 2>&1 &
  pids+=($!)
  jack_wait -s "$JACK_DEFAULT_SERVER" -w -t 10 >/dev/null 2>&1 || { cat jackd.log; fail "the JACK server did not start"; }
}

instrument=""
# Starts the instrument and waits (a blocking read, no sleep) for the line saying its ports are open.
start_instrument() {
  rm -f instrument.fifo
  mkfifo instrument.fifo
  "$bin/vx50-instrument" "$@" >instrument.fifo 2>&1 &
  instrument=$!
  pids+=("$instrument")
  exec 3<instrument.fifo
  local line=""
  read -r -t 10 line <&3 || true
  case "$line" in ready:*) ;; *) fail "the instrument did not start: $line" ;; esac
  cat <&3 >instrument.log &
  pids+=($!)
  exec 3<&-
}

stop_instrument() {
  kill "$instrument"
  wait "$instrument" 2>/dev/null || true
}
