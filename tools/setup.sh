#!/usr/bin/env bash
# Installs what Geolumen needs on Debian 12 (only what is missing), then builds it in Release.
#   tools/setup.sh run    ... and starts the program (arguments after "run" go to it)
#   tools/setup.sh test   ... and runs the whole test suite
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(build-essential cmake ninja-build pkg-config qt6-base-dev libgl-dev
          libgtest-dev libgmock-dev libbenchmark-dev
          qt6-translations-l10n fonts-ipafont-mincho fonts-ipafont-gothic xvfb xauth)
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

mode=${1:-run}
[[ $# -gt 0 ]] && shift
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build --parallel "$(nproc)"

case "$mode" in
  run) exec build/geolumen "$@" ;;
  test) cd build && ctest --output-on-failure --parallel "$(nproc)" ;;
  *) echo "usage: tools/setup.sh run|test" >&2; exit 2 ;;
esac
