#!/usr/bin/env bash
# Fetches Debian's source of the AdPlug the machine has, for the Windows build of its emulators.
#   scripts/fetch-adplug-source.sh DIR    unpacks it into DIR/adplug (once)
# The machine's own apt lists are never touched: a private deb-src list for the same archive and
# suite the machine uses, with lists of its own under DIR. apt checks the .dsc and the tarball
# against the archive's signed index, and dpkg-source checks the tarball against the .dsc.
set -euo pipefail
dir="$(realpath -m "$1")"
[ -f "$dir/adplug/src/nukedopl.c" ] && exit 0

version="$(dpkg-query -W -f='${source:Version}' libadplug-dev)"
mkdir -p "$dir/apt/parts" "$dir/apt/lists/partial" "$dir/download"
# The archive and suite of the machine's first Debian entry, whichever format it is written in.
uri="$(cat /etc/apt/sources.list.d/*.sources /etc/apt/sources.list 2>/dev/null \
       | awk '$1 == "URIs:" || $1 == "deb" { for (i = 2; i <= NF; i++) if ($i ~ /debian\/?$/) { print $i; exit } }' || true)"
suite="$(. /etc/os-release && echo "$VERSION_CODENAME")"
cat > "$dir/apt/parts/adplug.sources" <<SOURCES
Types: deb-src
URIs: ${uri:-http://deb.debian.org/debian}
Suites: $suite
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
apt=(-qq -o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$dir/apt/parts"
     -o Dir::State::Lists="$dir/apt/lists" -o Debug::NoLocking=1 -o APT::Sandbox::User=root)
apt-get "${apt[@]}" update
(cd "$dir/download" && apt-get "${apt[@]}" source --download-only "adplug=$version")
rm -rf "$dir/adplug"
# The signature of the .dsc is not checked here (no Debian keyring); its checksums are.
dpkg-source --require-strong-checksums -x "$dir"/download/adplug_*.dsc "$dir/adplug" 2>&1 \
    | grep -v "gpgv\|cannot verify signature\|extracting\|unpacking\|applying" || true
[ -f "$dir/adplug/src/nukedopl.c" ]
