#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole suite.
#   ./test.sh             into build/
#   ./test.sh --sanitize  with AddressSanitizer and UndefinedBehaviorSanitizer, into build-sanitize/
#   ./test.sh --windows   cross-built for Windows into build-windows/, run under Wine
set -euo pipefail
cd "$(dirname "$0")"
source scripts/prepare.sh

dir=build
args=()
case "${1:-}" in
--sanitize)
    dir=build-sanitize
    args=(-DBRIVANE_SANITIZE=ON -DBRIVANE_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug)
    # Qt and fontconfig keep caches for the life of the process; only our own faults count.
    export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
    ;;
--windows)
    prepare_windows_build build-windows
    # The window tests need a display and a window manager; the rest ignore them. Wine's server
    # now and then drops a client mid-test ("recvmsg: Connection reset by peer"): such a test
    # runs once more, and a real fault fails twice.
    tests/ui/on-xvfb.sh --window-manager \
        scripts/under-wine.sh build-windows ctest --output-on-failure --parallel "$(nproc)" --timeout 900 \
        --repeat until-pass:2
    # The zip and the installer, installed and uninstalled silently in a prefix of their own.
    ./package.sh --windows >/dev/null
    tests/ui/on-xvfb.sh --window-manager tests/package/check-windows-installer.sh build-package-windows/Brivane-*-setup.exe
    exit
    ;;
esac
prepare_build "$dir" "${args[@]}"
(cd "$dir" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)" --timeout 900)

# The package is checked once, from the ordinary build's run.
if [ "$dir" = build ]; then
    ./package.sh >/dev/null
    tests/package/check-package.sh build-package/brivane_*_amd64.deb
fi
