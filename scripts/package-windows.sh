#!/usr/bin/env bash
# Sourced by package.sh: builds the Windows programs in Release into build-package-windows/ and
# writes there Brivane-VERSION-win64.zip, a portable folder Brivane/, and Brivane-VERSION-setup.exe,
# a per-user installer made with NSIS.
set -euo pipefail
dir=build-package-windows
prepare_windows_build "$dir" -DCMAKE_BUILD_TYPE=Release -DBRIVANE_TESTS=OFF

version="$(sed -n 's/^project(Brivane VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)"
stage="$dir/stage/Brivane"
rm -rf "$dir/stage" && mkdir -p "$stage/licenses"
install_missing_packages nsis
for program in brivane.exe brivane-cli.exe adplug-emulators.dll; do
    x86_64-w64-mingw32-strip -o "$stage/$program" "$dir/bin/$program"
done
# Windows' own tools show text files best with CR LF line ends.
to_crlf() { sed 's/$/\r/' "$1" > "$2"; }
ADPLUG_VERSION="$(dpkg-query -W -f='${source:Version}' libadplug-dev)"
sed "s/@PROJECT_VERSION@/$version/g; s/@ADPLUG_VERSION@/$ADPLUG_VERSION/g" dist/windows/README.txt.in > "$dir/README.txt"
to_crlf "$dir/README.txt" "$stage/README.txt"
to_crlf LICENSE "$stage/LICENSE.txt"
to_crlf "$dir/third-party/adplug/COPYING" "$stage/licenses/AdPlug LGPL-2.1.txt"
to_crlf "$dir/third-party/adplug/debian/copyright" "$stage/licenses/AdPlug copyright.txt"
to_crlf /usr/share/doc/mingw-w64-x86-64-dev/copyright "$stage/licenses/MinGW-w64 runtime.txt"
to_crlf /usr/share/doc/gcc-mingw-w64-base/copyright "$stage/licenses/GCC runtime libraries.txt"
cp .deps/genmidi/GENMIDI.op2 "$stage/GENMIDI.op2"
to_crlf .deps/genmidi/COPYING.freedoom "$stage/licenses/Freedoom GENMIDI bank.txt"

zip="Brivane-$version-win64.zip"
rm -f "$dir/$zip"
(cd "$dir/stage" && cmake -E tar cf "../$zip" --format=zip Brivane)
setup="Brivane-$version-setup.exe"
makensis -V2 -DVERSION="$version" -DSTAGE="$PWD/$stage" -DICON="$PWD/$dir/icons/brivane.ico" \
         -DOUTFILE="$PWD/$dir/$setup" dist/windows/installer.nsi
ls "$dir/$zip" "$dir/$setup"
