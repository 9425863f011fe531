#!/usr/bin/env bash
# The largest dump over a private JACK server to the simulated instrument, timed from the start
# of sending to the acknowledgement, beside the time the same bytes take on a MIDI cable.
# Usage: bench/midi/transfer_ratio.sh [BUILD_DIR]   (default: build)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
bin=$(cd "${1:-$root/build}/bin" && pwd)
work=$(mktemp -d)
cd "$work"
# shellcheck source=../../tests/midi/jack_session.sh
source "$root/tests/midi/jack_session.sh"
trap 'cleanup; rm -rf "$work"' EXIT
start_jack
start_instrument --mode 4
"$bin/vx_midi_transfer_timing"
