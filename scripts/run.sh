#!/usr/bin/env bash
# Installs what is missing, builds Ormica and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
./scripts/build.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "ormica: no graphical display here (DISPLAY is not set); built in build/src/app/ormica, start it on a desktop." >&2
  exit 1
fi
exec ./build/src/app/ormica
