#!/usr/bin/env bash
# Installs what the benchmarks need (OpenCV for side-by-side figures), builds
# them and runs them: medians of 7 repetitions, single-threaded, in ms.
# Extra arguments go to Google Benchmark (e.g. --benchmark_filter=Gray).
# Whole ormica-cli processes beside djpeg and ImageMagick: bench/end_to_end.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh --bench
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DORMICA_BUILD_TESTS=OFF -DORMICA_BUILD_BENCH=ON >/dev/null
cmake --build build-bench -j"$(nproc)" --target bench_engine
./build-bench/bench/bench_engine --benchmark_repetitions=7 --benchmark_report_aggregates_only=true \
  --benchmark_time_unit=ms "$@" | grep -vE '_(mean|stddev|cv) '
