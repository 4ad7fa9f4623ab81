#!/usr/bin/env bash
# Refreshes translations/ormica_en.ts from the texts of the sources (new texts
# appear unfinished, texts no longer used are dropped). Locations are left
# out, so the file changes only when a text does.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
lupdate="${LUPDATE:-/usr/lib/qt6/bin/lupdate}"
cd "$root"
"$lupdate" -silent -I src -locations none -no-obsolete -source-language ru -target-language en \
  src -ts translations/ormica_en.ts "$@"
