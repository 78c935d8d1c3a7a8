#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ and runs each for a while.
#   ./fuzz.sh [SECONDS_PER_TARGET]   (default 300)
# New inputs go to build-fuzz/corpus/; copy the interesting ones to tests/corpus/.
# A crash leaves its input as build-fuzz/crash-*: add it to tests/corpus/ once fixed.
set -euo pipefail
cd "$(dirname "$0")"
seconds="${1:-300}"

if ! command -v clang++ >/dev/null || ! ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
    sudo=""; [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq clang cmake ninja-build >/dev/null
fi

if [ ! -f build-fuzz/build.ninja ]; then
    CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DBRIVANE_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build build-fuzz --parallel "$(nproc)"

for target in settings readlong conversion info huffman executable; do
    mkdir -p "build-fuzz/corpus/$target"
    echo "== fuzz_$target for ${seconds}s"
    (cd build-fuzz && ./bin/fuzz_$target -max_total_time="$seconds" -print_final_stats=1 \
        "corpus/$target" "../tests/corpus/$target" 2>&1 | tail -n 12)
done
