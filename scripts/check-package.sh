#!/usr/bin/env bash
# Builds the Debian package from a built tree (default: build) and checks
# that it holds what an installed program needs, that its dependencies were
# found, and that the programs in it start.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
out="$build/package"
rm -rf "$out"
mkdir -p "$out"
(cd "$build" && cpack -G DEB -B "$PWD/package" >/dev/null)
deb=$(ls "$out"/ormica_*.deb)
echo "package: $deb"

contents=$(dpkg-deb -c "$deb")
for f in ./usr/bin/ormica ./usr/bin/ormica-cli ./usr/share/applications/ormica.desktop \
  ./usr/share/icons/hicolor/scalable/apps/ormica.svg; do
  if ! grep -q " $f\$" <<<"$contents"; then
    echo "missing from the package: $f" >&2
    exit 1
  fi
done
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libqt6gui6 libqt6core6 libjpeg62-turbo qt6-qpa-plugins qt6-image-formats-plugins; do
  if ! grep -q "$lib" <<<"$depends"; then
    echo "the package does not depend on $lib: $depends" >&2
    exit 1
  fi
done
desktop-file-validate packaging/ormica.desktop

# The packaged programs, unpacked, must run.
root="$out/root"
dpkg-deb -x "$deb" "$root"
"$root/usr/bin/ormica-cli" help >/dev/null
QT_QPA_PLATFORM=offscreen timeout 20 "$root/usr/bin/ormica" >/dev/null 2>&1 &
pid=$!
sleep 3
if ! kill -0 "$pid" 2>/dev/null; then
  wait "$pid" || { echo "the packaged ormica did not start" >&2; exit 1; }
fi
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
echo "package checked: $(wc -l <<<"$contents") entries, depends: $depends"
