#!/usr/bin/env bash
# Sets everything up and runs every test: the unit and end-to-end tests under AddressSanitizer
# and UndefinedBehaviorSanitizer, then each fuzz target briefly on its corpus.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh

# Formatting counts as one more test: every tracked C++ file must read as clang-format writes it
# (a clean checkout has nothing "changed", so all of them are checked; it takes seconds).
formatted=1
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t cxx_files < <(git ls-files -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' \
                                          'bench/*.cpp' 'bench/*.h' 'fuzz/*.cpp' 'fuzz/*.h')
  if [ ${#cxx_files[@]} -gt 0 ] && ! clang-format --dry-run -Werror "${cxx_files[@]}"; then
    echo "test.sh: files above differ from clang-format's layout; run clang-format -i on them"
    formatted=0
  fi
fi

jobs=$(nproc)
cmake --preset asan >/dev/null
cmake --build --preset asan -j "$jobs"

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
export QT_QPA_PLATFORM=offscreen
status=0
log=$(mktemp)
set +e
ctest --test-dir build/asan --output-on-failure -j "$jobs" 2>&1 | tee "$log"
[ "${PIPESTATUS[0]}" -eq 0 ] || status=1
set -e
total=$(sed -nE 's/.*tests passed, ([0-9]+) tests failed out of ([0-9]+).*/\2/p' "$log" | tail -n 1)
failed=$(sed -nE 's/.*tests passed, ([0-9]+) tests failed out of ([0-9]+).*/\1/p' "$log" | tail -n 1)
rm -f "$log"
passed=$(( ${total:-0} - ${failed:-0} ))
failed=${failed:-0}

# The fuzz targets count as one more test: every target must come through its run clean.
if [ -x fuzz/run-all.sh ]; then
  if fuzz/run-all.sh "${BRISNA_FUZZ_SECONDS:-20}"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1)); status=1
  fi
fi
if [ $formatted -eq 1 ]; then
  passed=$((passed + 1))
else
  failed=$((failed + 1)); status=1
fi
echo "test.sh: $passed passed, $failed failed"
exit $status
