#!/usr/bin/env bash
# Runs a command on a real X server of its own: a fresh Xvfb on a free display, ended with it.
# Usage: tests/ui/on-xvfb.sh COMMAND [ARGUMENT...]
set -euo pipefail
scratch=$(mktemp -d)
trap 'kill "$server" 2>/dev/null || true; rm -rf "$scratch"' EXIT
Xvfb -displayfd 5 -screen 0 1280x1024x24 -noreset -nolisten tcp 5>"$scratch/display" 2>"$scratch/log" &
server=$!
for _ in $(seq 100); do
    [ -s "$scratch/display" ] && break
    kill -0 "$server" 2>/dev/null || { cat "$scratch/log" >&2; exit 1; }
    sleep 0.1
done
DISPLAY=":$(cat "$scratch/display")" QT_QPA_PLATFORM=xcb "$@"
