#!/usr/bin/env bash
# The whole scene classified against the input/output yardstick, in one run on one machine:
# a synthetic SIZE x SIZE scene of seven bands (once 8-bit, once 16-bit, tiled GeoTIFF, made
# from the sample scene stretched to size), a model of eight categories on all seven bands
# trained on its first window, then, RUNS times each, alternating:
#   gdal_translate of the scene to an uncompressed GeoTIFF   (reading and writing it once)
#   geolumen classify of the scene                           (reading it, writing the classes)
# with the wall time and peak resident memory of each (/usr/bin/time -v). Prints a table of
# the medians and the ratio classify / gdal_translate.
#   bench/whole_scene.sh [SIZE] [RUNS]        (defaults 7000 and 3; needs build/geolumen)
set -euo pipefail
cd "$(dirname "$0")/.."
size=${1:-7000}
runs=${2:-3}
bin=$PWD/build/geolumen
sample=$PWD/data/L7_ETMs.tif
work=${BENCH_WORK:-/dev/shm/geolumen_whole_scene}
[[ -x $bin && -f $sample ]] || { echo "needs build/geolumen and $sample" >&2; exit 2; }
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT

# Seconds and megabytes of one command, as "seconds megabytes".
measure() {
  /usr/bin/time -v "$@" >/dev/null 2>"$work/time.txt" || { cat "$work/time.txt" >&2; exit 1; }
  awk -F': ' '/Elapsed \(wall clock\)/ { n = split($2, t, ":"); s = 0;
                for (i = 1; i <= n; ++i) s = s * 60 + t[i]; secs = s }
              /Maximum resident set size/ { mb = $2 / 1024 }
              END { printf "%.2f %.0f\n", secs, mb }' "$work/time.txt"
}
median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }

printf '%-8s %14s %10s %16s %10s %8s\n' scene "gdal_translate" "peak MB" "geolumen classify" "peak MB" ratio
for bits in 8 16; do
  scene=$work/scene$bits.tif
  if [[ $bits == 8 ]]; then type=(-ot Byte); else type=(-ot UInt16 -scale 0 255 0 20000); fi
  gdal_translate -q -outsize "$size" "$size" -r bilinear -b 1 -b 2 -b 3 -b 4 -b 5 -b 6 -b 1 \
    "${type[@]}" -co TILED=YES "$sample" "$scene"
  # Eight categories, each trained on a 40 x 40 square of the first window.
  train=()
  for k in 1 2 3 4 5 6 7 8; do
    x=$((40 + k * 100)); y=$((60 + (k % 3) * 300))
    train+=(--category "$k" --train-select --paint-rect "$x,$y,$((x + 39)),$((y + 39))")
  done
  "$bin" export --raster "$scene" "${train[@]}" --train-update-all \
    --classify-categories 1,2,3,4,5,6,7,8 --classify --save-signatures "$work/model.json" \
    --product composite --out "$work/window.png" 2>/dev/null
  : >"$work/t.txt"; : >"$work/c.txt"
  for ((r = 0; r < runs; ++r)); do
    measure gdal_translate -q "$scene" "$work/copy.tif" >>"$work/t.txt"
    rm -f "$work/copy.tif"
    measure "$bin" classify --raster "$scene" --signatures "$work/model.json" \
      --out "$work/classes.tif" --no-progress >>"$work/c.txt"
    rm -f "$work/classes.tif" "$work/classes.tif.aux.xml"
  done
  t=$(cut -d' ' -f1 "$work/t.txt" | median); tm=$(cut -d' ' -f2 "$work/t.txt" | median)
  c=$(cut -d' ' -f1 "$work/c.txt" | median); cm=$(cut -d' ' -f2 "$work/c.txt" | median)
  printf '%-8s %12.2f s %10s %14.2f s %10s %8.2f\n' "$bits-bit" "$t" "$tm" "$c" "$cm" \
    "$(echo "$c / $t" | bc -l)"
  rm -f "$scene"
done
