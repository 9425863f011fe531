#!/usr/bin/env bash
# The program dump and the largest style block over a private JACK server to the simulated
# instrument answering at MIDI cable speed (--baud 31250), each timed from the start of sending
# to the acknowledgement, beside the time the same bytes take on the cable. About two minutes.
# Usage: bench/midi/transfer_ratio.sh [BUILD_DIR]   (default: build)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
bin=$(cd "${1:-$root/build}/bin" && pwd)
work=$(mktemp -d)
cd "$work"
# shellcheck source=../../tests/midi/jack_session.sh
source "$root/tests/midi/jack_session.sh"
trap 'cleanup; rm -rf "$work"' EXIT
unset VX_MIDI_BAUD
start_jack
start_instrument --mode 4 --baud 31250
"$bin/vx_midi_transfer_timing"
