#!/bin/sh
# Runs a test program on the xcb platform in a private Xvfb server, so that keys and the mouse
# go through a real X server's key map and pointer. Exit status 77 (skipped) when Xvfb or
# xdotool is not installed.
set -u
command -v Xvfb >/dev/null 2>&1 || { echo "Xvfb is not installed: skipped"; exit 77; }
command -v xdotool >/dev/null 2>&1 || { echo "xdotool is not installed: skipped"; exit 77; }

fifo_dir=$(mktemp -d) || exit 1
mkfifo "$fifo_dir/display" || exit 1
# -displayfd picks a free display and names it once the server accepts clients: no waiting.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo_dir/display" 2>"$fifo_dir/log" &
server=$!
# The server goes with this script, also when a time-out ends it.
trap 'kill "$server" 2>/dev/null; rm -rf "$fifo_dir"' EXIT
trap 'exit 1' INT TERM
read -r number <"$fifo_dir/display"
if [ -z "${number:-}" ]; then
    echo "Xvfb did not start:"; cat "$fifo_dir/log"
    exit 1
fi
DISPLAY=":$number" QT_QPA_PLATFORM=xcb "$@"
