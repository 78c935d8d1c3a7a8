#!/usr/bin/env bash
# Checks a built package as Debian and the desktops would, then runs what it installs.
# Usage: tests/package/check-package.sh build-package/brivane_VERSION-1_amd64.deb
set -uo pipefail
deb="$1"
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
passed=0
failed=0
check() {
    local name="$1"; shift
    local output
    if output=$("$@" 2>&1); then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAILED: $name"
        echo "$output" | sed 's/^/    /'
    fi
}

# A first upload closes no bug reports: there is no Debian bug to close.
check "lintian" lintian --fail-on error,warning --suppress-tags initial-upload-closes-no-bugs "$deb"

dpkg -x "$deb" "$root"
id=org.example.brivane
layout() {
    local missing=0
    for file in usr/bin/brivane usr/bin/brivane-cli \
                usr/share/applications/$id.desktop usr/share/metainfo/$id.metainfo.xml \
                usr/share/icons/hicolor/scalable/apps/$id.svg usr/share/icons/hicolor/48x48/apps/$id.png \
                usr/share/icons/hicolor/128x128/apps/$id.png usr/share/icons/hicolor/256x256/apps/$id.png \
                usr/share/man/man1/brivane.1.gz usr/share/man/man1/brivane-cli.1.gz \
                usr/share/bash-completion/completions/brivane-cli usr/share/brivane/GENMIDI.op2 \
                usr/share/doc/brivane/README.md usr/share/doc/brivane/LICENSE \
                usr/share/doc/brivane/copyright usr/share/doc/brivane/changelog.Debian.gz; do
        [ -s "$root/$file" ] || { echo "missing: $file"; missing=1; }
    done
    for size in 48 128 256; do
        file "$root/usr/share/icons/hicolor/${size}x$size/apps/$id.png" | grep -q "$size x $size" \
            || { echo "the ${size}x$size icon is not $size pixels"; missing=1; }
    done
    return $missing
}
check "installed layout" layout
check "desktop entry" desktop-file-validate "$root/usr/share/applications/$id.desktop"
check "AppStream metadata" appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml"
manual() {
    local warnings
    warnings=$(zcat "$1" | groff -ww -man -Tutf8 2>&1 >/dev/null)
    [ -z "$warnings" ] || { echo "$warnings"; return 1; }
}
check "brivane(1)" manual "$root/usr/share/man/man1/brivane.1.gz"
check "brivane-cli(1)" manual "$root/usr/share/man/man1/brivane-cli.1.gz"
check "bash completion" bash -n "$root/usr/share/bash-completion/completions/brivane-cli"
version() {
    "$root/usr/bin/brivane-cli" --version | grep -qx "brivane-cli [0-9]*\.[0-9]*\.[0-9]*"
}
check "brivane-cli --version" version
window() {
    # Still running after two seconds is a window that came up; its settings go to a scratch home.
    HOME="$root/home" XDG_CONFIG_HOME="$root/home/.config" QT_QPA_PLATFORM=offscreen \
        timeout 2 "$root/usr/bin/brivane"
    [ $? -eq 124 ]
}
check "window starts" window

echo "package check: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
