#!/usr/bin/env bash
# Installs the Debian packages Ormica needs to build, test and run.
# Does nothing when every package is already present.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins qt6-translations-l10n
  qt6-image-formats-plugins qt6-l10n-tools qt6-tools-dev
  libjpeg62-turbo-dev libpng-dev libwebp-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-dejavu-core
  imagemagick
  clang
  dpkg-dev desktop-file-utils
)
if [ "${1:-}" = "--bench" ]; then
  packages+=(libopencv-dev libjpeg-turbo-progs time)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed"; then
    missing+=("$p")
  fi
done
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# libFuzzer and the sanitizer runtimes that belong to the clang installed.
rt="libclang-rt-$(clang --version | sed -n 's/.*clang version \([0-9]*\).*/\1/p' | head -n1)-dev"
if ! dpkg-query -W -f='${Status}' "$rt" 2>/dev/null | grep -q "ok installed"; then
  echo "Installing: $rt"
  [ ${#missing[@]} -gt 0 ] || "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "$rt"
fi
