#!/usr/bin/env bash
# Builds and runs every test: once optimised, once under AddressSanitizer and
# UndefinedBehaviorSanitizer, the thread tests once more under
# ThreadSanitizer, then the fuzzers' corpora and a short fuzzing run.
# Warnings are errors. Run scripts/setup.sh first.
# FUZZ_SECONDS sets the fuzzing time per target (0 replays the corpora only).
set -euo pipefail
cd "$(dirname "$0")/.."
export ZELVANE_WERROR=ON
for preset in release asan; do
  echo "== $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done

echo "== tsan (the tests that run threads against each other)"
cmake --preset tsan >/dev/null
cmake --build --preset tsan --target concurrency_tests params_tests learn_tests wave_tests
ctest --preset tsan -R 'Threads|Learn|Pedal'

if [[ -x scripts/fuzz.sh ]]; then
  echo "== fuzz"
  scripts/fuzz.sh "${FUZZ_SECONDS:-45}"
fi
