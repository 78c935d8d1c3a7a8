#!/usr/bin/env bash
# Runs a command in BUILD_DIR with the build's own Wine prefix (BUILD_DIR/wine) made and its
# Wine server kept up, so that many short Windows programs in parallel do not each start one.
# Usage: scripts/under-wine.sh BUILD_DIR COMMAND [ARGUMENT...]
set -euo pipefail
dir="$1"; shift
export WINEPREFIX="$PWD/$dir/wine" WINEDEBUG=-all
[ -f "$WINEPREFIX/system.reg" ] || wineboot --init >/dev/null 2>&1
wineserver --persistent 2>/dev/null || true # one may already be up for this prefix
# Wine's own background programs start with the first program of a server and inherit its
# output; started here, they never hold a test's output pipe open after the test ends.
wine cmd.exe /c exit >/dev/null 2>&1 </dev/null
status=0
(cd "$dir" && "$@") || status=$?
wineserver --kill || true
exit "$status"
