#!/usr/bin/env bash
# Installs what is missing, builds Ormica with its tests and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
./scripts/build.sh -DORMICA_BUILD_TESTS=ON
cd build
ctest --output-on-failure -j"$(nproc)"
