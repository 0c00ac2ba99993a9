#!/usr/bin/env bash
# Sets everything up and runs every test: the unit and end-to-end tests under AddressSanitizer
# and UndefinedBehaviorSanitizer, then each fuzz target briefly on its corpus.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh

jobs=$(nproc)
cmake --preset asan >/dev/null
cmake --build --preset asan -j "$jobs"

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
export QT_QPA_PLATFORM=offscreen
status=0
ctest --test-dir build/asan --output-on-failure -j "$jobs" || status=$?

if [ -x fuzz/run-all.sh ]; then
  fuzz/run-all.sh "${BRISNA_FUZZ_SECONDS:-20}" || status=$?
fi
exit $status
