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

prepare_build() {
    local dir="$1"; shift
    install_missing_packages
    if [ ! -f "$dir/build.ninja" ]; then
        cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
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
    # The icon is drawn by the Linux build's icon tool, since only Qt draws it.
    install_missing_packages
    [ -f build/build.ninja ] || cmake -S . -B build -G Ninja >/dev/null
    cmake --build build --target brivane-make-icons >/dev/null
    build/bin/brivane-make-icons "$dir/icons" brivane
    if [ ! -f "$dir/build.ninja" ]; then
        cmake -S . -B "$dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
              -DBRIVANE_ADPLUG_SOURCE="$PWD/$dir/third-party/adplug" -DBRIVANE_ICON="$PWD/$dir/icons/brivane.ico" \
              "$@" >/dev/null
    fi
    cmake --build "$dir" --parallel "$(nproc)"
}
