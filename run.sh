#!/usr/bin/env bash
# Installs what is missing, builds into build/, and starts Brivane.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/prepare.sh
prepare_build build
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "No display to show the window on; run it under a virtual one: xvfb-run ./run.sh" >&2
    exit 1
fi
exec build/bin/brivane "$@"
