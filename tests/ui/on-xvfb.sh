#!/usr/bin/env bash
# Runs a command on a real X server of its own: a fresh Xvfb on a free display, ended with it.
# Usage: tests/ui/on-xvfb.sh [--window-manager] COMMAND [ARGUMENT...]
# With --window-manager, openbox runs there too: Wine moves the keyboard focus only when a
# window manager activates a window.
set -euo pipefail
manager=""
if [ "${1:-}" = "--window-manager" ]; then
    manager=openbox
    shift
fi
scratch=$(mktemp -d)
managed=""
trap 'kill $managed "$server" 2>/dev/null || true; rm -rf "$scratch"' EXIT
Xvfb -displayfd 5 -screen 0 1280x1024x24 -noreset -nolisten tcp 5>"$scratch/display" 2>"$scratch/log" &
server=$!
for _ in $(seq 100); do
    [ -s "$scratch/display" ] && break
    kill -0 "$server" 2>/dev/null || { cat "$scratch/log" >&2; exit 1; }
    sleep 0.1
done
export DISPLAY=":$(cat "$scratch/display")"
if [ -n "$manager" ]; then
    "$manager" >/dev/null 2>&1 &
    managed=$!
fi
QT_QPA_PLATFORM=xcb "$@"
