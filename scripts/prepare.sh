# Sourced by run.sh, test.sh and bench.sh: installs what is missing and builds.
# Usage: prepare_build BUILD_DIR [extra cmake arguments...]

BRIVANE_PACKAGES=(cmake g++ ninja-build pkg-config zlib1g-dev qt6-base-dev qt6-multimedia-dev libadplug-dev libgl-dev
                  libgtest-dev libgmock-dev libbenchmark-dev fonts-dejavu-core xvfb xauth python3 strace
                  pulseaudio pulseaudio-utils scdoc xdotool)

# Usage: install_missing_packages [PACKAGE...]   (BRIVANE_PACKAGES when none are named)
install_missing_packages() {
    local wanted=("$@") missing=()
    [ $# -gt 0 ] || wanted=("${BRIVANE_PACKAGES[@]}")
    for package in "${wanted[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" \
            || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        command -v sudo >/dev/null || { echo "Missing packages: ${missing[*]}; run as root or install sudo." >&2; exit 1; }
        sudo="sudo"
    fi
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# Freedoom's GENMIDI instrument bank (BSD licence), for songs from MIDI: read out of the
# freedoom package's freedoom2.wad, which is downloaded and unpacked here, never installed.
# Usage: fetch_genmidi_bank   (into .deps/genmidi/, once)
fetch_genmidi_bank() {
    local into=.deps/genmidi
    [ -f "$into/GENMIDI.op2" ] && return 0
    local scratch
    scratch=$(mktemp -d)
    (cd "$scratch" && { apt-get download freedoom >/dev/null 2>&1 \
        || { $([ "$(id -u)" -eq 0 ] || echo sudo) apt-get update -qq && apt-get download freedoom >/dev/null 2>&1; }; }) \
        || { echo "Could not download the freedoom package for its GENMIDI bank." >&2; rm -rf "$scratch"; exit 1; }
    dpkg-deb -x "$scratch"/freedoom_*.deb "$scratch/unpacked"
    mkdir -p "$into"
    python3 - "$scratch/unpacked/usr/share/games/doom/freedoom2.wad" "$into/GENMIDI.op2" <<'PYTHON'
import struct, sys
wad = open(sys.argv[1], 'rb').read()
count, directory = struct.unpack_from('<ii', wad, 4)
for i in range(count):
    at, size, name = struct.unpack_from('<ii8s', wad, directory + 16 * i)
    if name.rstrip(b'\0') == b'GENMIDI':
        open(sys.argv[2], 'wb').write(wad[at:at + size])
        break
else:
    sys.exit('freedoom2.wad holds no GENMIDI lump')
PYTHON
    cp "$scratch/unpacked/usr/share/doc/freedoom/copyright" "$into/COPYING.freedoom"
    rm -rf "$scratch"
}

# BRIVANE_WARNINGS_AS_ERRORS=1 (as .ci/run sets it) makes every compiler warning an error.
warning_options() {
    echo "-DCMAKE_COMPILE_WARNING_AS_ERROR=${BRIVANE_WARNINGS_AS_ERRORS:-0}"
}

prepare_build() {
    local dir="$1"; shift
    install_missing_packages
    fetch_genmidi_bank
    if [ ! -f "$dir/build.ninja" ]; then
        cmake -S . -B "$dir" -G Ninja "$(warning_options)" "$@" >/dev/null
    fi
    cmake --build "$dir" --parallel "$(nproc)"
}

# The Windows build: mingw-w64, Wine to run what it builds, and AdPlug's source for its
# emulators. Usage: prepare_windows_build BUILD_DIR [extra cmake arguments...]
BRIVANE_WINDOWS_PACKAGES=(cmake ninja-build g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix wine wine64
                          dpkg-dev libadplug-dev libz-mingw-w64-dev googletest xvfb xauth openbox)

prepare_windows_build() {
    local dir="$1"; shift
    install_missing_packages "${BRIVANE_WINDOWS_PACKAGES[@]}"
    scripts/fetch-adplug-source.sh "$dir/third-party"
    fetch_genmidi_bank
    # The icon is drawn by the Linux build's icon tool, since only Qt draws it.
    install_missing_packages
    [ -f build/build.ninja ] || cmake -S . -B build -G Ninja >/dev/null
    cmake --build build --target brivane-make-icons >/dev/null
    build/bin/brivane-make-icons "$dir/icons" brivane
    if [ ! -f "$dir/build.ninja" ]; then
        cmake -S . -B "$dir" -G Ninja "$(warning_options)" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
              -DBRIVANE_ADPLUG_SOURCE="$PWD/$dir/third-party/adplug" -DBRIVANE_ICON="$PWD/$dir/icons/brivane.ico" \
              "$@" >/dev/null
    fi
    cmake --build "$dir" --parallel "$(nproc)"
}
