#!/usr/bin/env bash
# Installs Brivane's Windows installer silently into a fresh Wine prefix, checks the files, the
# shortcut, the uninstall entry and where the installed window keeps its settings, then
# uninstalls it silently and checks that the program went and the user's settings stayed.
# Usage: tests/package/check-windows-installer.sh SETUP.exe   (on a display: tests/ui/on-xvfb.sh)
set -euo pipefail
setup="$(realpath "$1")"
export WINEPREFIX="$(mktemp -d)/wine" WINEDEBUG=-all
trap 'wineserver --kill 2>/dev/null || true; rm -rf "$(dirname "$WINEPREFIX")"' EXIT
wineboot --init >/dev/null 2>&1
user="$(wine cmd.exe /c 'echo %USERNAME%' 2>/dev/null | tr -d '\r')"
home="$WINEPREFIX/drive_c/users/$user"
installed="$home/AppData/Local/Programs/Brivane"
shortcut="$home/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Brivane.lnk"
settings="$home/AppData/Roaming/Brivane/Brivane.ini"
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Brivane'
passed=0 failed=0
check() { # DESCRIPTION COMMAND...
    if "${@:2}" >/dev/null 2>&1; then passed=$((passed + 1)); else echo "FAILED: $1" >&2; failed=$((failed + 1)); fi
}
wait_for() { for _ in $(seq 100); do "$@" && return 0; sleep 0.2; done; return 1; }
# Runs the uninstall line the registry holds, as Apps & features and package managers do.
quiet_uninstall() {
    local - line exe
    set -f # the line's "_?=" is no pattern
    line="$(wine reg query "$key" /v QuietUninstallString | sed -n 's/.*REG_SZ *//p' | tr -d '\r')"
    exe="${line#\"}" exe="${exe%%\"*}"
    # shellcheck disable=SC2086 # the line's own arguments, split as Windows splits them
    wine "$exe" ${line#\"$exe\"}
}

wine "$setup" /S
for file in brivane.exe brivane-cli.exe adplug-emulators.dll GENMIDI.op2 README.txt LICENSE.txt uninstall.exe \
            "licenses/AdPlug LGPL-2.1.txt" "licenses/Freedoom GENMIDI bank.txt"; do
    check "installed $file" test -f "$installed/$file"
done
check "Start-menu shortcut" test -f "$shortcut"
check "uninstall entry" wine reg query "$key" /v UninstallString
check "uninstall entry's estimated size" bash -c "wine reg query '$key' /v EstimatedSize | grep -q REG_DWORD"
check "installed command line runs" bash -c "wine '$installed/brivane-cli.exe' --version | grep -qx 'brivane-cli [0-9.]*'"

# The installed window keeps its settings with the user's, not beside the program.
wine "$installed/brivane.exe" &
check "installed window saves its settings in %APPDATA%\\Brivane" wait_for test -f "$settings"
# While it runs, neither a silent install nor a silent uninstall changes anything.
before="$(stat -c %Y "$installed/brivane.exe")"
check "a silent install stops while Brivane runs" bash -c "wine '$setup' /S; [ \$? -eq 2 ]"
find "$WINEPREFIX/drive_c" -name Brivane-setup.log -delete # the install's own refusal says it too
refused() { "$@"; [ $? -eq 2 ]; }
check "the registry's silent uninstall stops while Brivane runs" refused quiet_uninstall
said_why() { find "$WINEPREFIX/drive_c" -name Brivane-setup.log -exec grep -l "Brivane is running: nothing was changed" {} + | grep -q .; }
check "and says why in the temporary folder's Brivane-setup.log" said_why
check "nothing changed while Brivane ran" bash -c "[ \"\$(stat -c %Y '$installed/brivane.exe')\" = '$before' ] && test -f '$installed/adplug-emulators.dll' && wine reg query '$key' /v UninstallString"
wineserver --kill 2>/dev/null || true
check "no settings beside the installed program" test ! -e "$installed/Brivane.ini"

check "the registry's silent uninstall succeeds once Brivane has ended" quiet_uninstall
check "program files removed" wait_for test ! -e "$installed/brivane.exe"
check "install folder removed" wait_for test ! -e "$installed"
check "shortcut removed" test ! -e "$shortcut"
check "uninstall entry removed" bash -c "! wine reg query '$key'"
check "the user's settings stay" test -f "$settings"

# Installed into a folder of the user's choice, it is an installed copy all the same.
chosen="$WINEPREFIX/drive_c/Apps/Brivane"
wine "$setup" /S '/D=C:\Apps\Brivane'
check "installed into the chosen folder" test -f "$chosen/brivane.exe"
rm -f "$settings"
wine "$chosen/brivane.exe" &
check "installed elsewhere, the window saves its settings in %APPDATA%\\Brivane" wait_for test -f "$settings"
wineserver --kill 2>/dev/null || true
check "no settings beside the program installed elsewhere" test ! -e "$chosen/Brivane.ini"
check "its silent uninstall succeeds" quiet_uninstall
check "the uninstaller removes the chosen folder whole" wait_for test ! -e "$chosen"

echo "Windows installer check: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
