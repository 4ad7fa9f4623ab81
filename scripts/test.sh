#!/usr/bin/env bash
# Installs what is missing, builds Ormica with its tests and runs every test:
# the tests as built for use, the Debian package, each file reader's fuzz target for a short run
# (ORMICA_FUZZ_SECONDS, 40 by default), and the tests again built with
# AddressSanitizer and UndefinedBehaviorSanitizer, where any report fails.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
./scripts/build.sh -DORMICA_BUILD_TESTS=ON
(cd build && ctest --output-on-failure -j"$(nproc)")
./scripts/check-package.sh build

./fuzz/run.sh all "${ORMICA_FUZZ_SECONDS:-40}"

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DORMICA_BUILD_TESTS=ON -DORMICA_SANITIZE=ON >/dev/null
cmake --build build-asan -j"$(nproc)"
cd build-asan
ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1" \
  UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
  ctest --output-on-failure -j"$(nproc)"
