#!/usr/bin/env bash
# Whole processes, as a user runs them: ormica-cli on a 24-megapixel BMP and
# JPEG (6000 x 4000) for convert, grey, mirror, rot90, rotate 30, scale 0.37,
# the histograms, a square-root transfer function and a 7 x 7 averaging
# filter, beside djpeg, ImageMagick's convert and opencv-cli (bench/opencv_cli.cpp)
# doing the nearest equivalent.
# Each command runs RUNS times (3 unless given) under /usr/bin/time -v; the
# table shows medians of CPU time (user + system) and elapsed time, the
# largest peak resident memory, and ours / reference on CPU time, which a busy
# machine disturbs less than elapsed time. Every output but the histograms'
# is a BMP, so that djpeg's rows compare decoding with decoding; "convert >
# jpg" adds encoding.
# ImageMagick is held to one thread; ormica-cli and OpenCV keep their defaults
# (both cores of a two-core machine), so OpenCV's rows add ours / OpenCV on
# elapsed time too.
#   bench/end_to_end.sh              installs, builds ormica-cli and opencv-cli into build-bench, runs
#   ORMICA_CLI=path/to/ormica-cli [OPENCV_CLI=path/to/opencv-cli] bench/end_to_end.sh
#                                    runs those binaries, builds nothing; no OpenCV rows without OPENCV_CLI
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${RUNS:-3}"
work="${TMPDIR:-/tmp}/ormica-end-to-end"
mkdir -p "$work"

cli="${ORMICA_CLI:-}"
ocv="${OPENCV_CLI:-}"
if [ -z "$cli" ]; then
  ./scripts/install-deps.sh --bench
  cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DORMICA_BUILD_TESTS=OFF -DORMICA_BUILD_BENCH=ON >/dev/null
  cmake --build build-bench -j"$(nproc)" --target ormica-cli
  cli=build-bench/src/cli/ormica-cli
  # The target exists only where CMake found OpenCV with its image files.
  if [ -d build-bench/bench/CMakeFiles/opencv-cli.dir ]; then
    cmake --build build-bench -j"$(nproc)" --target opencv-cli
    ocv=build-bench/bench/opencv-cli
  fi
fi
if [ -z "$ocv" ]; then
  echo "note: no opencv-cli (OpenCV not found, or OPENCV_CLI not given); the OpenCV rows are left out" >&2
elif [ ! -x "$ocv" ]; then
  echo "missing: $ocv" >&2
  exit 1
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
# The square-root curve as the transfer window makes it, and a 7 x 7 kernel of
# ones (divided by its sum, 49).
"$cli" curve --formula sqrt --xe 1.0 --points 32 >"$work/sqrt.fcc"
for _ in 1 2 3 4 5 6 7; do echo "1 1 1 1 1 1 1"; done >"$work/ones.txt"

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
    hist) echo "hist $2" ;;
    transfer) echo "transfer $work/sqrt.fcc $2 $3" ;;
    filter) echo "filter --kernel $work/ones.txt $2 $3" ;;
  esac
}
# ImageMagick's nearest equivalents: grey by root mean square kept in three
# channels, mirror left to right, a quarter turn counter-clockwise, nearest
# neighbour turn about the centre with white corners, box averaging, the three
# channels' histograms drawn as a 256 x 200 picture (ours prints statistics of
# four; counting the distinct colours is left out), the square root of every
# channel (ours changes the brightness and keeps the hue), and the mean of 7 x 7
# with edge pixels repeated (ours copies a three-pixel border).
magick_args() { # operation
  case "$1" in
    convert) echo "" ;;
    grey) echo "-grayscale RMS -type TrueColor" ;;
    mirror) echo "-flop" ;;
    rot90) echo "-rotate -90" ;;
    rotate30) echo "-virtual-pixel white -filter point -interpolate nearest -distort SRT -30" ;;
    scale037) echo "-scale 37%" ;;
    hist) echo "-define histogram:unique-colors=false" ;;
    transfer) echo "-evaluate Pow 0.5" ;;
    filter) echo "-define convolve:scale=! -morphology Convolve Square:3" ;;
  esac
}
magick_out() { # operation
  case "$1" in
    hist) echo "histogram:$work/out.bmp" ;;
    *) echo "BMP3:$work/out.bmp" ;;
  esac
}
# opencv-cli's output: the histogram statistics go to a text file, in ours' lines.
opencv_out() { # operation
  case "$1" in
    hist) echo "$work/out.txt" ;;
    *) echo "$work/out.bmp" ;;
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
printf '%-5s %-13s %8s %8s %7s | %-24s %8s %8s %7s | %6s %6s\n' input operation "cpu s" "wall s" "peak MB" \
  reference "cpu s" "wall s" "peak MB" "cpu x" "wall x"
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", (b > 0 ? a / b : 0)}'; }
row() { # input operation ours-figures reference-name reference-figures [wall]
  read -r oc ow om <<<"$3"
  read -r rc rw rm <<<"$5"
  printf '%-5s %-13s %8s %8s %7s | %-24s %8s %8s %7s | %6s %6s\n' "$1" "$2" "$oc" "$ow" "$om" "$4" "$rc" "$rw" "$rm" \
    "$(ratio "$oc" "$rc")" "$([ -n "${6:-}" ] && ratio "$ow" "$rw")"
}

for input in bmp jpg; do
  src="$work/in.$input"
  for op in convert grey mirror rot90 rotate30 scale037 hist transfer filter; do
    # shellcheck disable=SC2046
    ours=$(measure "$cli" $(ours_args "$op" "$src" "$work/out.bmp"))
    # shellcheck disable=SC2046
    row "$input" "$op" "$ours" "ImageMagick" "$(measure "$magick" "$src" $(magick_args "$op") "$(magick_out "$op")")"
    if [ -n "$ocv" ]; then
      centre=()
      [ "$op" = rotate30 ] && centre=(2000 3000)
      # Free of the one-thread setting above, should OpenCV be built on OpenMP.
      row "$input" "$op" "$ours" "OpenCV (C++)" \
        "$(measure env -u OMP_NUM_THREADS "$ocv" "$op" "$src" "$(opencv_out "$op")" "${centre[@]}")" wall
    fi
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
[ -z "$ocv" ] ||
  row bmp "convert > jpg" "$ours" "OpenCV (C++)" "$(measure env -u OMP_NUM_THREADS "$ocv" convert "$bmp" "$work/out.jpg")" wall
echo "load: $(uptime)"
