#!/usr/bin/env bash
# Builds and runs every test: once optimised, once under AddressSanitizer and
# UndefinedBehaviorSanitizer. Warnings are errors. Run scripts/setup.sh first.
set -euo pipefail
cd "$(dirname "$0")/.."
export ZELVANE_WERROR=ON
for preset in release asan; do
  echo "== $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done
