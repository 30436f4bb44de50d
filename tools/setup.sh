#!/usr/bin/env bash
# Installs what Geolumen needs on Debian 12 (only what is missing), then builds it in Release.
#   tools/setup.sh run    ... and starts the program (arguments after "run" go to it)
#   tools/setup.sh test   ... and runs the whole test suite: the tests, the logic and command-line
#                         tests built with AddressSanitizer and UndefinedBehaviorSanitizer, and
#                         every fuzz target for 5 seconds on its seed corpus
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(build-essential cmake ninja-build pkg-config qt6-base-dev libgl-dev libgdal-dev
          libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
          qt6-translations-l10n fonts-ipafont-mincho fonts-ipafont-gothic xvfb xauth
          poppler-utils clang libclang-rt-14-dev parallel gdal-bin time bc)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  sudo_cmd=()
  [[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -q
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q "${missing[@]}"
fi

# The sample scene: a Landsat 7 ETM+ excerpt (6 bands, 349 x 352, UTM) that Debian ships in the
# R package r-cran-stars. Only that one file is taken, without installing R.
sample=data/L7_ETMs.tif
if [[ ! -f $sample ]]; then
  tmp=$(mktemp -d)
  fetch() { (cd "$tmp" && apt-get download -q r-cran-stars >/dev/null 2>&1); }
  if ! fetch; then
    sudo_cmd=()
    [[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -q >/dev/null 2>&1 || true
    fetch || true
  fi
  deb=$(ls "$tmp"/r-cran-stars_*.deb 2>/dev/null | head -n 1)
  if [[ -n $deb ]] && dpkg-deb -x "$deb" "$tmp/x" &&
     found=$(find "$tmp/x" -name L7_ETMs.tif | head -n 1) && [[ -n $found ]]; then
    mkdir -p data
    cp "$found" "$sample"
  else
    echo "setup: the sample scene (r-cran-stars) could not be fetched; going on without it" >&2
  fi
  rm -rf "$tmp"
fi

mode=${1:-run}
[[ $# -gt 0 ]] && shift
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build --parallel "$(nproc)"

case "$mode" in
  run)
    # With nothing named, the sample scene opens as a false-colour composite.
    if [[ $# -eq 0 && -f $sample ]]; then
      exec build/geolumen --raster "$sample" --false-colour
    fi
    exec build/geolumen "$@" ;;
  test)
    (cd build && ctest --output-on-failure --parallel "$(nproc)")
    # The sanitizer and fuzz stages share one clang build with AddressSanitizer,
    # UndefinedBehaviorSanitizer and the fuzzer's coverage: the logic and command-line tests
    # (no desktop, no benchmarks) and the fuzz targets, at -O1 with line tables only.
    cmake -S . -B build-check -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only -DNDEBUG" \
      -DCMAKE_CXX_COMPILER=clang++ -DGEOLUMEN_FUZZ=ON -DGEOLUMEN_BUILD_DESKTOP=OFF \
      -DGEOLUMEN_BUILD_BENCH=OFF
    cmake --build build-check --parallel "$(nproc)"
    # Any sanitizer finding ends its test with an error.
    (cd build-check &&
      ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
      ctest --output-on-failure --parallel "$(nproc)")
    # The fuzz targets (clang's libFuzzer), each for 5 seconds on its seeds, one a core.
    tools/fuzz.sh 5 ;;
  *) echo "usage: tools/setup.sh run|test" >&2; exit 2 ;;
esac
