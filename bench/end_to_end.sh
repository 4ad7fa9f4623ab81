#!/usr/bin/env bash
# Whole processes, as a user runs them: ormica-cli on a 24-megapixel BMP and
# JPEG (6000 x 4000) for convert, grey, mirror, rot90, rotate 30 and scale
# 0.37, beside djpeg and ImageMagick's convert doing the nearest equivalent.
# Each command runs RUNS times (3 unless given) under /usr/bin/time -v; the
# table shows medians of CPU time (user + system) and elapsed time, the
# largest peak resident memory, and ours / reference on CPU time, which a busy
# machine disturbs less than elapsed time. Every output is a BMP, so that
# djpeg's rows compare decoding with decoding; "convert > jpg" adds encoding.
# ImageMagick is held to one thread, as ormica-cli is.
#   bench/end_to_end.sh              installs, builds ormica-cli into build-bench, runs
#   ORMICA_CLI=path/to/ormica-cli bench/end_to_end.sh     runs that binary, builds nothing
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${RUNS:-3}"
work="${TMPDIR:-/tmp}/ormica-end-to-end"
mkdir -p "$work"

cli="${ORMICA_CLI:-}"
if [ -z "$cli" ]; then
  ./scripts/install-deps.sh --bench
  cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DORMICA_BUILD_TESTS=OFF -DORMICA_BUILD_BENCH=ON >/dev/null
  cmake --build build-bench -j"$(nproc)" --target ormica-cli
  cli=build-bench/src/cli/ormica-cli
fi
# ImageMagick itself, not a wrapper that may stand first on the PATH.
magick=""
for p in /usr/bin/convert-im6.q16 /usr/bin/convert-im7.q16 /usr/bin/magick; do
  [ -x "$p" ] && { magick="$p"; break; }
done
for tool in "$cli" /usr/bin/time "$magick" djpeg cjpeg; do
  if [ -z "$tool" ] || ! command -v "$tool" >/dev/null; then
    echo "missing: ${tool:-ImageMagick} (scripts/install-deps.sh --bench installs it)" >&2
    exit 1
  fi
done
export MAGICK_THREAD_LIMIT=1 OMP_NUM_THREADS=1

# A photograph-like picture: smooth colour, texture and noise, the same on every run.
bmp="$work/in.bmp"
jpg="$work/in.jpg"
if [ ! -s "$bmp" ]; then
  echo "making the 6000 x 4000 test pictures in $work"
  "$magick" -seed 7 -size 1500x1000 plasma:fractal -resize 6000x4000! -attenuate 0.3 +noise Gaussian \
    -type TrueColor "BMP3:$bmp"
fi
[ -s "$jpg" ] || cjpeg -quality 90 -outfile "$jpg" "$bmp"

# measure COMMAND...: prints "cpu elapsed peakMB" (medians of the times, the largest peak).
measure() {
  local i
  for ((i = 0; i < runs; i++)); do
    rm -f "$work"/out.*
    if ! /usr/bin/time -v -o "$work/time.txt" "$@" >/dev/null 2>"$work/err.txt"; then
      echo "failed: $*" >&2
      cat "$work/err.txt" >&2
      exit 1
    fi
    awk -F': ' '/User time/ {u = $2} /System time/ {s = $2} /Maximum resident/ {m = $2}
      /Elapsed/ {n = split($NF, a, ":"); e = 0; for (i = 1; i <= n; i++) e = e * 60 + a[i]}
      END {printf "%.3f %.3f %.0f\n", u + s, e, m / 1024}' "$work/time.txt"
  done >"$work/runs.txt"
  local mid=$(((runs + 1) / 2))
  echo "$(sort -n -k1,1 "$work/runs.txt" | sed -n "${mid}p" | cut -d' ' -f1)" \
    "$(sort -n -k2,2 "$work/runs.txt" | sed -n "${mid}p" | cut -d' ' -f2)" \
    "$(sort -n -k3,3 "$work/runs.txt" | tail -n1 | cut -d' ' -f3)"
}

ours_args() { # operation input output
  case "$1" in
    convert) echo "convert $2 $3" ;;
    grey) echo "grey $2 $3" ;;
    mirror) echo "mirror H $2 $3" ;;
    rot90) echo "rot90 + $2 $3" ;;
    rotate30) echo "rotate 30 --centre 2000 3000 $2 $3" ;;
    scale037) echo "scale --zoom 0.37 $2 $3" ;;
  esac
}
# ImageMagick's nearest equivalents: grey by root mean square kept in three
# channels, mirror left to right, a quarter turn counter-clockwise, nearest
# neighbour turn about the centre with white corners, box averaging.
magick_args() { # operation
  case "$1" in
    convert) echo "" ;;
    grey) echo "-grayscale RMS -type TrueColor" ;;
    mirror) echo "-flop" ;;
    rot90) echo "-rotate -90" ;;
    rotate30) echo "-virtual-pixel white -filter point -interpolate nearest -distort SRT -30" ;;
    scale037) echo "-scale 37%" ;;
  esac
}
# djpeg's: decoding alone, grey decoded to one channel, 3/8 by the DCT.
djpeg_args() {
  case "$1" in
    convert) echo "-bmp" ;;
    grey) echo "-grayscale -bmp" ;;
    scale037) echo "-scale 3/8 -bmp" ;;
  esac
}

echo "load: $(uptime)"
printf '%-5s %-13s %8s %8s %7s | %-24s %8s %8s %7s | %6s\n' input operation "cpu s" "wall s" "peak MB" \
  reference "cpu s" "wall s" "peak MB" ratio
row() { # input operation ours-figures reference-name reference-figures
  read -r oc ow om <<<"$3"
  read -r rc rw rm <<<"$5"
  printf '%-5s %-13s %8s %8s %7s | %-24s %8s %8s %7s | %6s\n' "$1" "$2" "$oc" "$ow" "$om" "$4" "$rc" "$rw" "$rm" \
    "$(awk -v a="$oc" -v b="$rc" 'BEGIN {printf "%.2f", (b > 0 ? a / b : 0)}')"
}

for input in bmp jpg; do
  src="$work/in.$input"
  for op in convert grey mirror rot90 rotate30 scale037; do
    # shellcheck disable=SC2046
    ours=$(measure "$cli" $(ours_args "$op" "$src" "$work/out.bmp"))
    # shellcheck disable=SC2046
    row "$input" "$op" "$ours" "ImageMagick" "$(measure "$magick" "$src" $(magick_args "$op") "BMP3:$work/out.bmp")"
    if [ "$input" = jpg ] && [ -n "$(djpeg_args "$op")" ]; then
      case "$op" in
        convert) label="djpeg" ;;
        grey) label="djpeg -grayscale (8-bit)" ;;
        scale037) label="djpeg -scale 3/8 (DCT)" ;;
      esac
      # shellcheck disable=SC2046
      row "$input" "$op" "$ours" "$label" \
        "$(measure djpeg $(djpeg_args "$op") -outfile "$work/out.bmp" "$src")"
    fi
  done
done
ours=$(measure "$cli" convert "$bmp" "$work/out.jpg")
row bmp "convert > jpg" "$ours" "cjpeg -quality 100" "$(measure cjpeg -quality 100 -outfile "$work/out.jpg" "$bmp")"
row bmp "convert > jpg" "$ours" "ImageMagick" "$(measure "$magick" "$bmp" -quality 100 "$work/out.jpg")"
echo "load: $(uptime)"
