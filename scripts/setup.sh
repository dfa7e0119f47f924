#!/usr/bin/env bash
# Installs every package the build, the tests and the benchmarks need on Debian 12.
# Idempotent and quiet: installs only what is missing; runs apt-get update only then.
# Usage: scripts/setup.sh            (build + tests)
#        scripts/setup.sh --bench    (also the reference synths for the benchmarks)
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libsndfile1-dev
  libfftw3-dev       # single-precision FFT, linked statically into the plug-in
  amsynth            # a third-party VST 2 instrument our host is tested against
  file binutils      # readelf for the exported-symbol and dependency checks
  clang-14 libfuzzer-14-dev libclang-rt-14-dev   # the fuzz targets (scripts/fuzz.sh)
  libcairo2-dev libxcb1-dev libxcb-keysyms1-dev  # the editor: drawing and X11
  fonts-liberation2 fontconfig                   # a sans with the metrics of "Arial"
  libfontconfig-dev                              # the GUI tests free its caches at exit
  xvfb xauth libxcb-xtest0-dev                   # the editor's tests on a virtual display
  openbox                                        # ... and under a reparenting window manager
)
if [[ "${1:-}" == "--bench" ]]; then
  packages+=(zynaddsubfx-vst)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]} == 0)); then
  echo "setup: all ${#packages[@]} packages present"
  exit 0
fi

SUDO=""
if [[ $(id -u) -ne 0 ]]; then SUDO="sudo"; fi
echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
echo "setup: done"
