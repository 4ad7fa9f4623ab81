#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs one or all of them.
#   fuzz/run.sh [all|fuzz_bmp|fuzz_jpeg|fuzz_fcc|fuzz_kernel|fuzz_fdb|fuzz_text|fuzz_png|fuzz_tiff|fuzz_webp] [SECONDS]      (default: all, 60 s each)
# Seeds come from ../shared/testdata (or ORMICA_TESTDATA) and fuzz/seeds/; the growing corpus
# and any crashing input stay in build-fuzz/. Exits non-zero on a finding.
set -euo pipefail
cd "$(dirname "$0")/.."
which="${1:-all}"
seconds="${2:-60}"
targets=(fuzz_bmp fuzz_jpeg fuzz_fcc fuzz_kernel fuzz_fdb fuzz_text fuzz_png fuzz_tiff fuzz_webp)
[ "$which" != all ] && targets=("$which")

flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer -g"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DORMICA_BUILD_TESTS=OFF -DORMICA_BUILD_FUZZ=ON \
  -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target "${targets[@]}"

testdata="${ORMICA_TESTDATA:-../shared/testdata}"
mkdir -p build-fuzz/artifacts
for t in "${targets[@]}"; do
  corpus="build-fuzz/corpus/$t"
  mkdir -p "$corpus"
  seeds=()  # libFuzzer reads seed folders with their subfolders
  case "$t" in
    fuzz_bmp) [ -d "$testdata/bmpsuite" ] && seeds=("$testdata/bmpsuite") ;;
    fuzz_jpeg) seeds=(fuzz/seeds/jpeg); [ -d "$testdata/jpeg" ] && seeds+=("$testdata/jpeg") ;;
    fuzz_fcc) seeds=(fuzz/seeds/fcc) ;;
    fuzz_kernel) seeds=(fuzz/seeds/kernel) ;;
    fuzz_fdb) seeds=(fuzz/seeds/fdb) ;;
    fuzz_text) seeds=(fuzz/seeds/text) ;;
    fuzz_png) seeds=(fuzz/seeds/png) ;;
    fuzz_tiff) seeds=(fuzz/seeds/tiff) ;;
    fuzz_webp) seeds=(fuzz/seeds/webp) ;;
  esac
  [ ${#seeds[@]} -eq 0 ] && echo "$t: no seed pictures in $testdata; starting from an empty corpus"
  echo "== $t for $seconds s"
  # Two copies of the largest picture (1 GiB) stay below the memory limit; a
  # small file that costs gigabytes (a 29-byte GIF once took 2 GB) does not.
  # One block may be Qt's 32-bit picture of that size, or a TIFF strip.
  ASAN_OPTIONS="allocator_may_return_null=1:detect_leaks=1" \
    "build-fuzz/fuzz/$t" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 -malloc_limit_mb=1400 \
    -max_len=1048576 -print_final_stats=1 -artifact_prefix="build-fuzz/artifacts/$t-" \
    "$corpus" "${seeds[@]}" 2>&1 | grep -vE '^#[0-9]+.*(NEW|REDUCE|pulse)|^"|dictionary' || { echo "$t: finding, see build-fuzz/artifacts/"; exit 1; }
done
