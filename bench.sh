#!/usr/bin/env bash
# Builds in Release into build-release/ and runs the benchmarks, each against its yardstick.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/prepare.sh
prepare_build build-release -DCMAKE_BUILD_TYPE=Release
echo "cores: $(nproc)"
for bench in rescale_bench convert_bench capture_bench songfile_bench settings_bench cli_bench window_bench; do
    build-release/bin/$bench --benchmark_counters_tabular=true
done
