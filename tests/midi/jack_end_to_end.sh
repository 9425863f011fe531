#!/usr/bin/env bash
# The whole MIDI path as separate processes: a private JACK server on the dummy driver, the
# simulated instrument, and vx50. Every kind of a set goes through RtMidi; what the instrument
# receives must equal what vx50 sysex writes, the largest style block included. Then each of
# the instrument's faults must give its message and lose nothing.
# Usage: jack_end_to_end.sh PROGRAM_DIR WORK_DIR
set -euo pipefail
bin=$1
work=$2

if ! command -v jackd >/dev/null 2>&1; then
  echo "SKIPPED: jackd is missing (Debian package jackd2), so the MIDI end-to-end test cannot run"
  exit 77
fi

rm -rf "$work"
mkdir -p "$work"
script_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
cd "$work"
# shellcheck source=jack_session.sh
source "$script_dir/jack_session.sh"
start_jack

newest() { ls "$1" | tail -n 1; }

"$bin/vx_midi_fixture" "$work/BIG.SET" BIG
set_sums=$(md5sum BIG.SET/*)

start_instrument --save-dir received

# Without VX_MIDI_API the first interface that opens is used: ALSA where its sequencer exists,
# else JACK. The libraries' own complaints stay off the terminal.
interface=JACK
[ -e /dev/snd/seq ] && interface=ALSA
env -u VX_MIDI_API "$bin/vx50" ports >ports.out 2>ports.err || fail "vx50 ports without VX_MIDI_API"
[ "$(head -n 1 ports.out)" = "Interface: $interface" ] || fail "ports said: $(cat ports.out)"
[ ! -s ports.err ] || fail "vx50 ports printed: $(cat ports.err)"
[ "$interface" = ALSA ] || grep -q "^  0: Vemo-x50 Simulator" ports.out || fail "ports said: $(cat ports.out)"

# Every kind, the full style block C11-C14 included.
for kind in arr sty prg bsq sng ark arg gbl; do
  "$bin/vx50" sysex BIG.SET "$kind" -o "expected-$kind.syx" || fail "vx50 sysex $kind"
  "$bin/vx50" send BIG.SET "$kind" --yes >send.out 2>send.err || fail "vx50 send $kind"
  cmp "expected-$kind.syx" "received/$(newest received)" || fail "$kind arrived changed"
  echo "$kind: $(stat -c %s "expected-$kind.syx") bytes arrived intact"
done
[ "$(stat -c %s expected-sty.syx)" -eq 299633 ] || fail "the style block is not the largest one"
[ "$(stat -c %s expected-gbl.syx)" -eq 482 ] || fail "the Global dump is not 482 bytes"
[ "$(stat -c %s expected-arg.syx)" -eq 61 ] || fail "the Arrangement Global dump is not 61 bytes"
grep -q "^mode changed to 4$" instrument.log || fail "the mode was not changed"
stop_instrument

# A real cable: the instrument answers only once 31,250 baud can have carried the program dump
# after its first byte, and vx50, sending at the cable's pace, waits for that answer.
start_instrument --baud 31250 --save-dir received-cable
VX_MIDI_BAUD='' "$bin/vx50" send BIG.SET prg --yes >send.out 2>send.err || fail "vx50 send prg at cable speed"
[ "$(tail -n 1 send.out)" = "Sent and acknowledged" ] || fail "the cable-speed send said: $(cat send.out)"
cmp expected-prg.syx "received-cable/$(newest received-cable)" || fail "prg arrived changed at cable speed"
stop_instrument
echo "prg at 31250 baud: acknowledged"

# Without --yes the prompt is answered with Cancel, and vx50 says how to send.
start_instrument
if "$bin/vx50" send BIG.SET gbl >send.out 2>send.err; then fail "vx50 send without --yes reported success"; fi
[ "$(tail -n 1 send.err)" = "Not sent (--yes answers the prompt with OK)" ] || fail "without --yes: $(cat send.err)"
stop_instrument

# Detection takes the device ID; an instrument already in mode 4 gets no mode change.
start_instrument --device-id 5 --mode 4 --save-dir received-id5
"$bin/vx50" detect --out Simulator --in Simulator >detect.out 2>send.err || fail "vx50 detect"
grep -q "^Vemo-x50 found, device ID 5: out Vemo-x50 Simulator" detect.out || fail "detect said: $(cat detect.out)"
"$bin/vx50" send BIG.SET gbl --yes >send.out 2>send.err || fail "vx50 send to device 5"
stop_instrument
grep -q "mode changed" instrument.log && fail "an instrument in mode 4 received a mode change"
[ "$(od -An -tx1 -j2 -N1 "received-id5/$(newest received-id5)" | tr -d ' ')" = "35" ] || fail "device 5 not addressed"

prompt="On Vemo-x50:

1. Press 'MENU'
2. Select 'Filter, MIDI'
3. Select 'page' menu
4. Select 'Receive Dumped Data'"
declare -A expected_messages=(
  [short-identity]="Receive Time-Out error"
  [other-maker]="No Vemo instrument found"
  [other-family]="Vemo-x not found"
  [wrong-ack]="$prompt
No ACK from Vemo-x"
  [no-reply]="$prompt
Receive Time-Out error
No reply from Vemo-x
Check its menu and retry"
  [slow]="$prompt
Receive Time-Out error
No reply from Vemo-x
Check its menu and retry"
)
for fault in short-identity other-maker other-family wrong-ack no-reply slow; do
  mkdir -p "fault-$fault"
  start_instrument --fault "$fault" --save-dir "$work/fault-$fault/received"
  if (cd "fault-$fault" && "$bin/vx50" send ../BIG.SET gbl --yes >../send.out 2>../send.err); then
    fail "$fault: vx50 send reported success"
  fi
  stop_instrument
  [ "$(cat send.err)" = "${expected_messages[$fault]}" ] || fail "$fault: the messages were: $(cat send.err)"
  case "$fault" in
    wrong-ack | no-reply | slow)
      # The dump itself arrived whole; only the answer was wrong or missing.
      cmp expected-gbl.syx "fault-$fault/received/$(newest "fault-$fault/received")" || fail "$fault: dump changed"
      ;;
    *)
      [ ! -d "fault-$fault/received" ] || fail "$fault: a dump was sent after a failed detection"
      grep -q "^(InqRep= F0 7E 00 06 02 " "fault-$fault/VXEDITR.LOG" || fail "$fault: the reply was not logged"
      ;;
  esac
  echo "$fault: $(echo "${expected_messages[$fault]}" | tail -n 1)"
done
grep -q "^DumpMidi => devRep= F0 42 30 49 24 F7 " fault-wrong-ack/VXEDITR.LOG || fail "the wrong ACK was not logged"
[ "$(md5sum BIG.SET/*)" = "$set_sums" ] || fail "the set's files changed"
echo "PASSED"
